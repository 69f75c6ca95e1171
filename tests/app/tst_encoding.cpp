// UTF-8 files through the window: detection on every road in, the same bytes back out, the
// encoding panel and menu, and reopening a file the other way.
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "document/TextFile.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using Answer = IDialogs::Answer;

namespace {
const std::string kTurkishUtf8 = "\xC4\xB0stanbul'da \xC4\xB1l\xC4\xB1k bir g\xC3\xBCn\r\n\xC5\x9Fu";
const std::string kTurkishBytes = "\xDDstanbul'da \xFDl\xFDk bir g\xFCn\r\n\xFEu";
const std::string kMark = "\xEF\xBB\xBF";
} // namespace

class TestEncoding : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    QString Path(const char* name) const { return m_home.filePath(QString::fromLatin1(name)); }
    QString Panel() const { return m_form->StatusPanel(4)->text(); }
    TMemo* Memo() const { return &m_form->Editor(); }
    std::string SavedBytes(const char* name)
    {
        m_form->Document().WriteTo(Path(name));
        return ReadFileBytes(Path(name));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
    }
    void init()
    {
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_form = std::make_unique<TAppForm>(m_dialogs);
    }
    void cleanup()
    {
        m_form->Document().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        QCOMPARE(m_dialogs->errors, QStringList());
        m_form.reset();
    }

    void uneditedFilesSaveToTheirOwnBytes_data()
    {
        QTest::addColumn<std::string>("file");
        QTest::addColumn<std::string>("document");
        QTest::addColumn<QString>("panel");
        std::string all;
        for (int b = 1; b < 256; ++b)
            if (b != '\r' && b != '\n')
                all.push_back(static_cast<char>(b));
        QTest::newRow("utf-8") << kTurkishUtf8 << kTurkishBytes << QStringLiteral("UTF-8");
        QTest::newRow("utf-8 with mark") << kMark + kTurkishUtf8 << kTurkishBytes << QStringLiteral("UTF-8");
        QTest::newRow("outside the table") << std::string("\xE6\x97\xA5\xE6\x9C\xAC \xC3\xA7")
                                           << std::string("\xE6\x97\xA5\xE6\x9C\xAC \xC3\xA7")
                                           << QStringLiteral("Windows-1254");
        QTest::newRow("emoji") << std::string("\xF0\x9F\x98\x80") << std::string("\xF0\x9F\x98\x80")
                               << QStringLiteral("Windows-1254");
        QTest::newRow("windows-1254") << kTurkishBytes << kTurkishBytes << QStringLiteral("Windows-1254");
        QTest::newRow("ascii") << std::string("plain\r\n") << std::string("plain\r\n") << QStringLiteral("Windows-1254");
        QTest::newRow("every byte") << all << all << QStringLiteral("Windows-1254");
    }
    void uneditedFilesSaveToTheirOwnBytes()
    {
        QFETCH(std::string, file);
        QFETCH(std::string, document);
        QFETCH(QString, panel);
        WriteFileBytes(Path("in.txt"), file);
        m_form->LoadDocument(Path("in.txt"));
        QCOMPARE(Memo()->Document().Text(), document);
        QCOMPARE(Panel(), panel);
        QCOMPARE(SavedBytes("out.txt"), file);
    }

    void editedUtf8StaysUtf8()
    {
        WriteFileBytes(Path("in.txt"), kTurkishUtf8);
        m_form->LoadDocument(Path("in.txt"));
        Act(m_form, "All2")->trigger(); // Make Uppercase, All
        QCOMPARE(SavedBytes("upper.txt"),
                 std::string("\xC4\xB0STANBUL'DA ILIK BIR G\xC3\x9CN\r\n\xC5\x9EU"));
        Memo()->SetSelection(Memo()->Document().Length(), 0);
        Memo()->setFocus();
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xC5\x9F"));
        QApplication::sendEvent(Memo(), &typed);
        const std::string saved = SavedBytes("typed.txt");
        QCOMPARE(saved.substr(saved.size() - 2), std::string("\xC5\x9F"));
    }

    void everyRoadInDetects()
    {
        WriteFileBytes(Path("road.txt"), kTurkishUtf8);
        m_form->FormShow({Path("road.txt")});
        QCOMPARE(Memo()->Document().Text(), kTurkishBytes);
        QCOMPARE(Panel(), QStringLiteral("UTF-8"));

        Act(m_form, "FileNew1")->trigger();
        QCOMPARE(Panel(), QStringLiteral("Windows-1254"));
        m_form->DropFiles({Path("road.txt")});
        QCOMPARE(Panel(), QStringLiteral("UTF-8"));

        Act(m_form, "FileNew1")->trigger();
        m_dialogs->openNames.push_back(Path("road.txt"));
        Act(m_form, "FileOpen1")->trigger();
        QCOMPARE(Memo()->Document().Text(), kTurkishBytes);
        QCOMPARE(Panel(), QStringLiteral("UTF-8"));
    }

    void choosingAnEncodingChangesWhatSaveWrites()
    {
        lines::SetText(Memo()->Document(), "\xFE\r\n");
        m_form->Document().SetModified(false);
        Act(m_form, "EncodingUtf81")->trigger();
        QCOMPARE(Panel(), QStringLiteral("UTF-8"));
        QVERIFY(m_form->Document().Modified());
        QCOMPARE(SavedBytes("u.txt"), std::string("\xC5\x9F\r\n"));
        Act(m_form, "EncodingWindows12541")->trigger();
        QCOMPARE(Panel(), QStringLiteral("Windows-1254"));
        QVERIFY(Act(m_form, "EncodingWindows12541")->isChecked());
        QCOMPARE(SavedBytes("w.txt"), std::string("\xFE\r\n"));
    }

    void lineBreaksShowAndChangeWithTheEncoding()
    {
        QCOMPARE(m_form->StatusPanel(5)->text(), QStringLiteral("CR LF"));
        WriteFileBytes(Path("unix.txt"), "a\nb\n");
        m_form->LoadDocument(Path("unix.txt"));
        QCOMPARE(m_form->StatusPanel(5)->text(), QStringLiteral("LF"));
        QVERIFY(Act(m_form, "LineBreaksUnix1")->isChecked());
        Act(m_form, "LineBreaksWindows1")->trigger();
        QCOMPARE(m_form->StatusPanel(5)->text(), QStringLiteral("CR LF"));
        QVERIFY(m_form->Document().Modified());
        Act(m_form, "EncodingUtf81")->trigger(); // the two choices combine
        Act(m_form, "LineBreaksUnix1")->trigger();
        lines::SetText(Memo()->Document(), "\xFE\r\n");
        QCOMPARE(SavedBytes("unix.txt"), std::string("\xC5\x9F\n"));
        m_dialogs->saveAnswers.push_back(Answer::No);
        Act(m_form, "FileNew1")->trigger();
        QCOMPARE(m_form->StatusPanel(5)->text(), QStringLiteral("CR LF"));
    }

    void reopenBothWays()
    {
        WriteFileBytes(Path("guess.txt"), kTurkishUtf8);
        m_form->LoadDocument(Path("guess.txt"));
        Act(m_form, "ReopenWindows12541")->trigger();
        QCOMPARE(Memo()->Document().Text(), kTurkishUtf8);
        QCOMPARE(Panel(), QStringLiteral("Windows-1254"));
        QVERIFY(!m_form->Document().Modified());
        Act(m_form, "ReopenUtf81")->trigger();
        QCOMPARE(Memo()->Document().Text(), kTurkishBytes);
        QCOMPARE(Panel(), QStringLiteral("UTF-8"));

        // A modified document asks first; Cancel keeps everything.
        lines::SetText(Memo()->Document(), "edited");
        m_dialogs->saveAnswers.push_back(Answer::Cancel);
        Act(m_form, "ReopenWindows12541")->trigger();
        QCOMPARE(Memo()->Document().Text(), std::string("edited"));
        QCOMPARE(m_dialogs->prompts.size(), 1);
    }

    void reopeningAsUtf8AFileThatIsNotSaysWhy()
    {
        WriteFileBytes(Path("cp.txt"), kTurkishBytes);
        m_form->LoadDocument(Path("cp.txt"));
        lines::SetText(Memo()->Document(), "kept");
        Act(m_form, "ReopenUtf81")->trigger();
        QCOMPARE(m_dialogs->notices.size(), 1);
        QVERIFY(m_dialogs->notices[0].contains(QStringLiteral("not valid UTF-8")));
        QCOMPARE(Memo()->Document().Text(), std::string("kept"));
        QCOMPARE(Panel(), QStringLiteral("Windows-1254"));
        QVERIFY(m_dialogs->prompts.isEmpty());
    }
};

QTEST_MAIN(TestEncoding)
#include "tst_encoding.moc"
