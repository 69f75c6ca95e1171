#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "document/TextFile.h"
#include "extract/ui/FetchProgress.h"
#include "extract/ui/ScriptEditor.h"
#include "extract/ui/extracttext.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <functional>

class TestExtractText : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    QString HomeFile(const char* name) const { return m_home.filePath(QString::fromLatin1(name)); }
    std::string SavedScript() const { return ReadFileBytes(HomeFile("extractform.txt")); }

    // Runs `use` on the Extract Text window while the menu command shows it modally; the
    // window is closed with its close box unless `use` closed it.
    void WithExtractWindow(const std::function<void(TExtract&)>& use)
    {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* w = qobject_cast<TExtract*>(QApplication::activeModalWidget());
            if (!w)
                return;
            seen = true;
            use(*w);
            if (w->isVisible())
                w->close();
        });
        Act(m_form, "Extract1")->trigger();
        QVERIFY(seen);
        QVERIFY(!m_form->findChild<TExtract*>()->isVisible());
    }

    // What a fetch showed while it ran.
    struct Seen {
        QString url;
        QString bytes;
        bool dialogWasUp = false;
    };

    // Watches for the fetch's progress dialog while the run goes on and notes what it shows;
    // cancels the fetch once `cancelWhen` holds for the bytes label.
    QTimer* WatchProgress(Seen& seen, const std::function<bool(const QString&)>& cancelWhen)
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [&seen, cancelWhen] {
            auto* dialog = qobject_cast<FetchProgress*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            seen.dialogWasUp = true;
            seen.url = dialog->UrlLabel->text();
            seen.bytes = dialog->BytesLabel->text();
            if (cancelWhen && cancelWhen(seen.bytes))
                dialog->CancelButton->click();
        });
        timer->start(20);
        return timer;
    }

    void SetDocument(std::string_view text)
    {
        m_form->Document().SetText(text);
        m_form->Document().SetModified(false);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
    }
    void init()
    {
        QFile::remove(HomeFile("extractform.txt"));
        QDir(HomeFile("extractform.txt")).removeRecursively();
        QFile::remove(HomeFile("extract_help.htm"));
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_form = std::make_unique<TAppForm>(m_dialogs);
        m_form->show();
    }
    void cleanup()
    {
        m_form->Document().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        m_form.reset();
    }

    void layoutAndSampleOnFirstOpening()
    {
        QVERIFY(Act(m_form, "Extract1")->isEnabled());
        WithExtractWindow([&](TExtract& w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Extract Text"));
            QCOMPARE(w.size(), QSize(326, 273));
            QCOMPARE(w.Memo1->geometry(), QRect(8, 8, 309, 226));
            QCOMPARE(w.BitBtn3->text(), QStringLiteral("&Help"));
            QCOMPARE(w.Memo1->Count(), 7);
            QCOMPARE(w.Memo1->Get(0), std::string("This is an extraction sample"));
            QCOMPARE(w.Memo1->Get(2), std::string("$GETLINE[5]"));
            QVERIFY(w.Memo1->Get(1).starts_with("$GETURL[http://"));
            QVERIFY(w.Memo1->Get(1).ends_with("/index.php]"));
        });
        QVERIFY(!QFile::exists(HomeFile("extractform.txt")));
    }

    void editedScriptComesBackAfterAnyCloseAndARestart()
    {
        WithExtractWindow([&](TExtract& w) {
            w.Memo1->selectAll();
            QTest::keyClicks(w.Memo1, QStringLiteral("first"));
            QTest::keyClick(w.Memo1, Qt::Key_Return);
            QTest::keyClicks(w.Memo1, QStringLiteral("$GETLINE[0]"));
            QCOMPARE(SavedScript(), std::string("first\r\n$GETLINE[0]"));
            w.BitBtn2->click();
        });
        WithExtractWindow([&](TExtract& w) { QCOMPARE(w.Memo1->Text(), std::string("first\r\n$GETLINE[0]")); });
        m_form.reset();
        m_form = std::make_unique<TAppForm>(m_dialogs);
        m_form->show();
        WithExtractWindow([&](TExtract& w) { QCOMPARE(w.Memo1->Text(), std::string("first\r\n$GETLINE[0]")); });
    }

    void lfOnlyFileIsShownAndWrittenBackWithCrLf()
    {
        WriteFileBytes(HomeFile("extractform.txt"), "one\ntwo\n");
        WithExtractWindow([&](TExtract& w) {
            QCOMPARE(w.Memo1->Count(), 2);
            QCOMPARE(w.Memo1->Get(1), std::string("two"));
        });
        QCOMPARE(SavedScript(), std::string("one\r\ntwo\r\n"));
    }

    void clearedScriptStaysEmpty()
    {
        WithExtractWindow([&](TExtract& w) {
            w.Memo1->selectAll();
            QTest::keyClick(w.Memo1, Qt::Key_Delete);
        });
        QCOMPARE(SavedScript(), std::string());
        WithExtractWindow([&](TExtract& w) { QCOMPARE(w.Memo1->Text(), std::string()); });
    }

    void abortAndCloseBoxLeaveTheDocument()
    {
        SetDocument("keep\r\nme\r\n");
        WriteFileBytes(HomeFile("extractform.txt"), "$GETLINE[1]");
        WithExtractWindow([&](TExtract& w) {
            QTest::keyClicks(w.Memo1, QStringLiteral("x"));
            w.BitBtn2->click();
            QCOMPARE(w.result(), int(TExtract::mrAbort));
        });
        WithExtractWindow([&](TExtract&) {}); // the close box
        QCOMPARE(m_form->Document().Text(), std::string("keep\r\nme\r\n"));
        QVERIFY(!m_form->Document().Modified());
    }

    void okReplacesTheDocumentThroughTheCarrierFile()
    {
        SetDocument("zero\r\nx<b>y</b>z\r\n");
        m_form->Document().SetFileName(QStringLiteral("/some/file.txt"));
        WriteFileBytes(HomeFile("extractform.txt"),
                       "  \r\n$GETLINE[0]\r\n$GETURL[u]\r\n$GETPARTOFLINE1[1;<i>,</b>]\r\n$GETLINE[7]\r\n\r\n");
        QStringList urls;
        WithExtractWindow([&](TExtract& w) {
            w.Fetch = [&](const std::string& url, const QString& path) {
                urls << QString::fromStdString(url);
                WriteFileBytes(path, "P1\nP2");
            };
            w.BitBtn1->click();
            QCOMPARE(w.result(), int(TExtract::mrOk));
        });
        QCOMPARE(urls, QStringList{QStringLiteral("u")});
        QCOMPARE(m_form->Document().Text(), std::string("zero\r\nP1\r\nP2\r\n\r\nx<b>y<\r\nUNKNOWN-LINE\r\n"));
        QCOMPARE(m_dialogs->notices, QStringList{QStringLiteral("<i> does not exist.")});
        QCOMPARE(m_dialogs->noticeTitles, QStringList{m_form->windowTitle()});
        QVERIFY(m_form->Document().Modified());
        QCOMPARE(m_form->Document().FileName(), QStringLiteral("/some/file.txt"));
        QVERIFY(!QFile::exists(HomeFile("temp001.txt")));
        QVERIFY(QFile::exists(HomeFile("temp.txt")));
    }

    void failedRunShowsTheErrorClosesAndKeepsTheDocument()
    {
        SetDocument("a\r\n");
        WriteFileBytes(HomeFile("extractform.txt"), "ok\r\n$GETPARTOFLINE2[99;a,2]");
        WithExtractWindow([&](TExtract& w) { w.BitBtn1->click(); });
        QCOMPARE(m_dialogs->errors, QStringList{QStringLiteral("'a' is not a valid integer value.")});
        QCOMPARE(m_form->Document().Text(), std::string("a\r\n"));
        QVERIFY(!m_form->Document().Modified());
    }

    // Every key fails to write the file again: the box comes once per opening of the window,
    // with the system's reason for that failure.
    void unwritableScriptFileIsSaidOnceAndKeepsTheEdit()
    {
        QVERIFY(QDir().mkpath(HomeFile("extractform.txt"))); // a folder in the file's place
        for (int opening = 1; opening <= 2; ++opening) {
            WithExtractWindow([&](TExtract& w) {
                QCOMPARE(w.Memo1->Count(), 7); // unreadable: the sample stays
                w.Memo1->selectAll();
                QTest::keyClicks(w.Memo1, QStringLiteral("xyz"));
                QCOMPARE(w.Memo1->Text(), std::string("xyz"));
            });
            QCOMPARE(m_dialogs->errors,
                     QStringList(opening, QStringLiteral("Cannot create file \"") + HomeFile("extractform.txt") +
                                              QStringLiteral("\". Is a directory.")));
        }
    }

    void helpOpensThePageBesideTheProgramWhenItIsThere()
    {
        QList<QUrl> opened;
        WithExtractWindow([&](TExtract& w) {
            w.OpenUrl = [&](const QUrl& url) { opened << url; };
            w.BitBtn3->click();
            QVERIFY(opened.isEmpty()); // no page, nothing shown
            WriteFileBytes(HomeFile("extract_help.htm"), "<html></html>");
            w.BitBtn3->click();
            QVERIFY(w.isVisible());
        });
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(HomeFile("extract_help.htm"))});
    }

    // Enter on a button presses that button; Enter on the window itself presses OK.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("runs");
        QTest::newRow("Return on Abort") << QStringLiteral("BitBtn2") << int(Qt::Key_Return) << false;
        QTest::newRow("keypad Enter on Abort") << QStringLiteral("BitBtn2") << int(Qt::Key_Enter) << false;
        QTest::newRow("Return on Help") << QStringLiteral("BitBtn3") << int(Qt::Key_Return) << false;
        QTest::newRow("Return on OK") << QStringLiteral("BitBtn1") << int(Qt::Key_Return) << true;
        QTest::newRow("Return elsewhere, after Help had the focus") << QString() << int(Qt::Key_Return) << true;
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(bool, runs);
        SetDocument("doc\r\n");
        WriteFileBytes(HomeFile("extractform.txt"), "$GETLINE[0]\r\nran");
        WriteFileBytes(HomeFile("extract_help.htm"), "<html></html>");
        int helpOpened = 0;
        WithExtractWindow([&](TExtract& w) {
            w.OpenUrl = [&](const QUrl&) { ++helpOpened; };
            QApplication::setActiveWindow(&w);
            QWidget* target = &w;
            if (button.isEmpty()) {
                w.BitBtn3->setFocus(Qt::TabFocusReason);
                w.Memo1->setFocus(Qt::TabFocusReason);
                QVERIFY(w.BitBtn1->isDefault());
            } else {
                target = w.findChild<QPushButton*>(button);
                target->setFocus(Qt::TabFocusReason);
                QCOMPARE(w.focusWidget(), target);
            }
            QTest::keyClick(target, Qt::Key(key));
            if (button == QStringLiteral("BitBtn3")) {
                QVERIFY(w.isVisible());
                QCOMPARE(helpOpened, 1);
            }
            if (button == QStringLiteral("BitBtn2"))
                QCOMPARE(w.result(), int(TExtract::mrAbort));
        });
        QCOMPARE(m_form->Document().Text(), std::string(runs ? "doc\r\nran\r\n" : "doc\r\n"));
    }

    void enterInTheScriptEditorBreaksTheLineAndOnlyScriptCharactersGoIn()
    {
        WithExtractWindow([&](TExtract& w) {
            w.Memo1->selectAll();
            QTest::keyClicks(w.Memo1, QStringLiteral("a"));
            QTest::keyClick(w.Memo1, Qt::Key_Return);
            QTest::keyClick(w.Memo1, Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClicks(w.Memo1, QStringLiteral("b"));
            for (const char16_t typed : {u'\u015f', u'\u4e2d'}) {
                QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(typed)));
                QApplication::sendEvent(w.Memo1, &key);
            }
            QVERIFY(w.isVisible());
        });
        // A character the code page cannot hold is shown as what is saved.
        QCOMPARE(SavedScript(), std::string("a\r\n\r\nb\xFE?"));
    }

    // A fetch that would never end: the progress dialog names the URL and counts the bytes,
    // Cancel ends that fetch only, and what arrived goes on into the result.
    void cancelEndsAFetchKeepingWhatArrived()
    {
        LoopbackServer server(std::map<std::string, std::string>{{"/stall", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789<stall>"}});
        const std::string url = server.Url("/stall");
        SetDocument("doc\r\n");
        WriteFileBytes(HomeFile("extractform.txt"), "$GETURL[" + url + "]\r\nafter");
        Seen seen;
        const QString tenBytes = QLocale::system().toString(10) + QStringLiteral(" bytes received");
        QTimer* watch = WatchProgress(seen, [&](const QString& bytes) { return bytes == tenBytes; });
        WithExtractWindow([&](TExtract& w) { w.BitBtn1->click(); });
        delete watch;
        QVERIFY(seen.dialogWasUp);
        QCOMPARE(seen.url, QString::fromStdString(url));
        QCOMPARE(seen.bytes, tenBytes);
        QCOMPARE(m_form->Document().Text(), std::string("0123456789\r\n\r\nafter\r\n"));
        QCOMPARE(ReadFileBytes(HomeFile("temp.txt")), std::string("0123456789"));
        QVERIFY(m_dialogs->errors.isEmpty());
    }

    // A page over the size limit: what fits is kept and goes on into the result, and the
    // fetch's window says so until the user has read it.
    void sizeLimitEndsAFetchKeepingWhatFits()
    {
        std::string page;
        for (int i = 0; page.size() < 5000; ++i)
            page += "line " + std::to_string(i) + "\r\n";
        LoopbackServer server(std::map<std::string, std::string>{{"/big", LoopbackServer::Response("200 OK", page)}});
        SetDocument("doc\r\n");
        WriteFileBytes(HomeFile("extractform.txt"), "$GETURL[" + server.Url("/big") + "]");
        Seen seen;
        QTimer* watch =
            WatchProgress(seen, [](const QString& bytes) { return bytes.startsWith(QStringLiteral("The page")); });
        WithExtractWindow([&](TExtract& w) {
            w.Limits.maxBytes = 4000;
            w.BitBtn1->click();
        });
        delete watch;
        QCOMPARE(seen.bytes, QStringLiteral("The page is bigger than ") +
                                 QLocale::system().formattedDataSize(4000, 0, QLocale::DataSizeIecFormat) +
                                 QStringLiteral(": only its first ") + QLocale::system().toString(4000) +
                                 QStringLiteral(" bytes were fetched."));
        QCOMPARE(ReadFileBytes(HomeFile("temp.txt")), page.substr(0, 4000));
        QCOMPARE(m_form->Document().Text(), page.substr(0, 4000)); // the cut falls after a line break
        QVERIFY(m_dialogs->errors.isEmpty());
    }

    void timeLimitEndsASlowDripKeepingWhatArrived()
    {
        LoopbackServer server(std::map<std::string, std::string>{{"/drip", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nstart<drip>"}});
        SetDocument("doc\r\n");
        WriteFileBytes(HomeFile("extractform.txt"), "$GETURL[" + server.Url("/drip") + "]");
        Seen seen;
        QTimer* watch = WatchProgress(seen, {});
        QElapsedTimer took;
        took.start();
        WithExtractWindow([&](TExtract& w) {
            w.Limits.totalTimeout = std::chrono::milliseconds(1000);
            w.BitBtn1->click();
        });
        delete watch;
        QVERIFY(took.elapsed() >= 1000);
        QVERIFY(seen.dialogWasUp);
        const std::string text = m_form->Document().Text();
        QVERIFY2(text.starts_with("start...") && text.ends_with(".\r\n"), text.c_str());
        QCOMPARE(ReadFileBytes(HomeFile("temp.txt")) + "\r\n", text);
    }

    void tabLeavesTheScriptEditor()
    {
        WithExtractWindow([&](TExtract& w) {
            QApplication::setActiveWindow(&w);
            w.Memo1->setFocus();
            QTest::keyClick(w.Memo1, Qt::Key_Tab);
            QCOMPARE(w.Memo1->Text(), std::string(TExtract::kSampleScript));
            QCOMPARE(w.focusWidget(), static_cast<QWidget*>(w.BitBtn3));
        });
    }
};

QTEST_MAIN(TestExtractText)
#include "tst_extracttext.moc"
