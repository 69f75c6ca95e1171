// Go To Line, the caret's position panel, recent files and zoom, as the window offers them.
#include "app/GoToLineDialog.h"
#include "app/MainWindow.h"
#include "document/TextFile.h"
#include "platform/IniFile.h"
#include "tests/support/FormAccess.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include <functional>

using Answer = IDialogs::Answer;

class TestNavigation : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    QString Path(const QString& name) const { return m_home.filePath(name); }
    QString File(const char* name, const std::string& bytes = "text") const
    {
        WriteFileBytes(Path(QString::fromUtf8(name)), bytes);
        return Path(QString::fromUtf8(name));
    }
    std::string Setting(const char* section, const std::string& key) const
    {
        return TIniFile(Path(QStringLiteral("settings.ini"))).ReadString(section, key);
    }
    TMemo* Memo() const { return &m_form->Editor(); }
    QLabel* Panel(const char* name) const { return m_form->findChild<QLabel*>(QString::fromLatin1(name)); }
    void NewForm()
    {
        m_form.reset();
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_form = std::make_unique<TAppForm>(m_dialogs);
    }
    QAction* Item(const char* name) const
    {
        if (auto* menu = m_form->findChild<QMenu*>(QString::fromLatin1(name)))
            return menu->menuAction();
        return Act(m_form, name);
    }
    // The visible entries of File > Recent Files.
    QStringList RecentItems() const
    {
        QStringList items;
        for (QAction* a : m_form->findChild<QMenu*>(QStringLiteral("RecentFiles1"))->actions())
            if (a->isVisible() && !a->isSeparator() && a->objectName().startsWith(QLatin1String("RecentFile")))
                items << a->text();
        return items;
    }
    // Answers the Go To Line dialog: each entry is typed in turn and OK pressed; the reasons the
    // dialog gave are collected.
    QStringList GoToLine(const QStringList& entries)
    {
        QStringList reasons;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<TGoToLineDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            for (const QString& entry : entries) {
                if (!dialog->isVisible())
                    break;
                dialog->Edit1->setText(entry);
                QTest::keyClick(dialog->Edit1, Qt::Key_Return);
                reasons << (dialog->isVisible() ? dialog->Reason->text() : QString());
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        Act(m_form, "GoToLine1")->trigger();
        return reasons;
    }
    QFont MemoFont() const { return Memo()->font(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
    }
    void init()
    {
        QFile::remove(Path(QStringLiteral("settings.ini")));
        NewForm();
    }
    void cleanup()
    {
        m_form->Document().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        m_form.reset();
    }

    // The new items go where they were asked for, and no menu gets a mnemonic twice.
    void newItemsTakeTheirPlaces_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("shortcuts");
        QTest::newRow("Recent Files") << "File1" << "RecentFiles1" << "Recent &Files" << "FileSaveAsItem" << "";
        QTest::newRow("Print Preview") << "File1" << "FilePrintPreview1" << "Print Pre&view..." << "FilePrint1" << "";
        QTest::newRow("Go To Line") << "Edit1" << "GoToLine1" << "&Go To Line..." << "Replace1" << "Ctrl+G";
        QTest::newRow("Zoom In") << "View1" << "ZoomIn1" << "Zoom &In" << "-" << "Ctrl++; Ctrl+=";
        QTest::newRow("Zoom Out") << "View1" << "ZoomOut1" << "Zoom &Out" << "ZoomIn1" << "Ctrl+-";
        QTest::newRow("Reset Zoom") << "View1" << "ResetZoom1" << "&Reset Zoom" << "ZoomOut1" << "Ctrl+0";
    }
    void newItemsTakeTheirPlaces()
    {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QString, after);
        const QList<QAction*> items = m_form->findChild<QMenu*>(menu)->actions();
        QAction* action = Item(item.toLatin1().constData());
        const qsizetype at = items.indexOf(action);
        QVERIFY(at > 0);
        QTEST(action->text(), "caption");
        QTEST(action->shortcuts().isEmpty() ? QString() : QKeySequence::listToString(action->shortcuts(), QKeySequence::PortableText), "shortcuts");
        if (after == u"-") {
            QVERIFY(items[at - 1]->isSeparator());
            QCOMPARE(items[at - 2], Act(m_form, "FullScreen1"));
        } else {
            QCOMPARE(items[at - 1], Item(after.toLatin1().constData()));
        }
        QSet<QChar> keys;
        for (QAction* a : items) {
            const qsizetype amp = a->text().indexOf(u'&');
            if (amp < 0 || a->isSeparator())
                continue;
            const QChar key = a->text().at(amp + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(menu + QStringLiteral(": &") + key));
            keys.insert(key);
        }
    }

    void goToLineMovesTheCaretOrSaysWhyNot()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        std::string text;
        for (int i = 1; i <= 1000; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        m_form->Document().SetText(text);
        const QStringList reasons = GoToLine({QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("1001"),
                                              QStringLiteral("99999999999999999999"), QStringLiteral(" 500 ")});
        QCOMPARE(reasons, (QStringList{QStringLiteral("'abc' is not a line number."),
                                       QStringLiteral("There is no line 0: the lines run from 1 to 1000."),
                                       QStringLiteral("There is no line 1001: the lines run from 1 to 1000."),
                                       QStringLiteral("There is no line 99999999999999999999: the lines run from 1 to 1000."),
                                       QString()}));
        QCOMPARE(Memo()->CaretOffset(), m_form->Document().Bytes().LineStart(499));
        QCOMPARE(Panel("PanelPosition")->text(), QStringLiteral("Ln 500, Col 1"));
        // Brought to the middle of the view.
        const QRect caret = Memo()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int middle = Memo()->viewport()->geometry().center().y();
        QVERIFY2(std::abs(caret.center().y() - middle) <= caret.height(), qPrintable(QString::number(caret.y())));
        QCOMPARE(GoToLine({}), QStringList()); // cancelled: the caret stays
        QCOMPARE(Panel("PanelPosition")->text(), QStringLiteral("Ln 500, Col 1"));
    }

    // A column counts bytes, a tab one; the line behind a final break is a line of its own.
    void positionPanelFollowsTheCaret_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << QByteArray() << 0 << "Ln 1, Col 1";
        QTest::newRow("second line") << QByteArray("ab\r\ncde") << 6 << "Ln 2, Col 3";
        QTest::newRow("a tab is one column") << QByteArray("\t\tx") << 2 << "Ln 1, Col 3";
        QTest::newRow("behind a final break") << QByteArray("a\r\n") << 3 << "Ln 2, Col 1";
        QTest::newRow("a lone LF is a character") << QByteArray("a\nb") << 3 << "Ln 1, Col 4";
    }
    void positionPanelFollowsTheCaret()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, caret);
        m_form->Document().SetTextRaw(text.toStdString());
        Memo()->SetSelection(caret, 0);
        QTEST(Panel("PanelPosition")->text(), "shown");
    }
    void positionFollowsKeysAndTyping()
    {
        m_form->Document().SetText("one\r\ntwo");
        Memo()->SetSelection(0, 0);
        QTest::keyClick(Memo(), Qt::Key_Down);
        QTest::keyClick(Memo(), Qt::Key_End);
        QCOMPARE(Panel("PanelPosition")->text(), QStringLiteral("Ln 2, Col 4"));
        QTest::keyClicks(Memo(), QStringLiteral("s"));
        QCOMPARE(Panel("PanelPosition")->text(), QStringLiteral("Ln 2, Col 5"));
        m_form->Document().SetText("new");
        QCOMPARE(Panel("PanelPosition")->text(), QStringLiteral("Ln 1, Col 1"));
    }
    // Right of the byte counter; neither it nor the counters are ever cut.
    void panelsGrowWithTheirText()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->Document().SetText(std::string(1234567, 'x'));
        Memo()->SetSelection(1234567, 0);
        QApplication::processEvents();
        QLabel* position = Panel("PanelPosition");
        QCOMPARE(position->text(), QStringLiteral("Ln 1, Col 1234568"));
        QVERIFY(m_form->StatusPanel(3)->geometry().right() < position->geometry().left());
        QVERIFY(position->geometry().right() < m_form->StatusPanel(4)->geometry().left());
        for (QLabel* panel : {m_form->StatusPanel(2), m_form->StatusPanel(3), position})
            QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(panel->text()),
                     qPrintable(panel->text()));
        m_form->Document().SetText(std::string());
    }

    void recentFilesArePutFirstKeptAndReopened()
    {
        const QString a = File("a.txt"), b = File("b & c.txt"), c = Path(QStringLiteral("saved.txt")), d = File("d.txt");
        m_form->LoadDocument(a);
        m_form->LoadDocument(b);
        m_dialogs->saveNames = {c};
        Act(m_form, "FileSaveAsItem")->trigger();
        m_form->DropFiles({d});
        m_form->LoadDocument(b);
        const QStringList expected{QStringLiteral("&1 ") + Path(QStringLiteral("b && c.txt")), QStringLiteral("&2 ") + d,
                                   QStringLiteral("&3 ") + c, QStringLiteral("&4 ") + a};
        QCOMPARE(RecentItems(), expected);
        QCOMPARE(Setting("RecentFiles", "File1"), b.toStdString());
        QCOMPARE(Setting("RecentFiles", "File4"), a.toStdString());
        QCOMPARE(Setting("RecentFiles", "File5"), std::string());

        NewForm(); // the next start has the same list
        QCOMPARE(RecentItems(), expected);
        m_form->Document().SetText("changed");
        m_dialogs->saveAnswers = {Answer::Cancel, Answer::No};
        Act(m_form, "RecentFile3")->trigger(); // the save prompt first; Cancel keeps the document
        QCOMPARE(m_form->Document().FileName(), QString());
        Act(m_form, "RecentFile3")->trigger();
        QCOMPARE(m_form->Document().FileName(), c);
        QCOMPARE(RecentItems().first(), QStringLiteral("&1 ") + c);
    }
    void recentFilesHoldEightAndLetGoneFilesGo()
    {
        for (int i = 1; i <= 9; ++i)
            m_form->LoadDocument(File(("f" + std::to_string(i) + ".txt").c_str()));
        QCOMPARE(RecentItems().size(), 8);
        QCOMPARE(RecentItems().last(), QStringLiteral("&8 ") + Path(QStringLiteral("f2.txt")));
        QFile::remove(Path(QStringLiteral("f5.txt")));
        Act(m_form, "RecentFile5")->trigger();
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY(m_dialogs->errors[0].startsWith(QStringLiteral("Cannot open file \"") + Path(QStringLiteral("f5.txt"))));
        QCOMPARE(RecentItems().size(), 7);
        QVERIFY(!RecentItems().join(u'|').contains(QStringLiteral("f5.txt")));
        QCOMPARE(Setting("RecentFiles", "File8"), std::string());
        QCOMPARE(m_form->Document().FileName(), Path(QStringLiteral("f9.txt")));
        Act(m_form, "ClearRecentFiles1")->trigger();
        QCOMPARE(RecentItems(), QStringList());
        QVERIFY(!Item("RecentFiles1")->isEnabled());
        QCOMPARE(Setting("RecentFiles", "File1"), std::string());
        m_dialogs->errors.clear();
    }

    void zoomStepsPersistAndStayInRange()
    {
        const double base = MemoFont().pointSizeF();
        Act(m_form, "ZoomIn1")->trigger();
        Act(m_form, "ZoomIn1")->trigger();
        Act(m_form, "ZoomOut1")->trigger();
        QCOMPARE(MemoFont().pointSizeF(), base + 1);
        QCOMPARE(Setting("Options", "Zoom"), "1");
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Memo()->viewport(), &wheel);
        QCOMPARE(MemoFont().pointSizeF(), base + 3);

        NewForm();
        QCOMPARE(MemoFont().pointSizeF(), base + 3);
        QFont big = MemoFont();
        big.setPointSize(94);
        m_dialogs->fonts = {big};
        Act(m_form, "FontProperties1")->trigger(); // the zoom stays on top of the chosen font
        QCOMPARE(MemoFont().pointSizeF(), 96.0);
        Act(m_form, "ZoomIn1")->trigger();
        QCOMPARE(MemoFont().pointSizeF(), 96.0);
        QCOMPARE(Setting("Options", "Zoom"), "3");
        Act(m_form, "ZoomOut1")->trigger();
        QCOMPARE(MemoFont().pointSizeF(), 95.0);
        QCOMPARE(Setting("Options", "Zoom"), "1");
        Act(m_form, "ResetZoom1")->trigger();
        QCOMPARE(MemoFont().pointSizeF(), 94.0);
        QCOMPARE(Setting("Options", "Zoom"), "0");
        for (int i = 0; i < 100; ++i)
            Act(m_form, "ZoomOut1")->trigger();
        QCOMPARE(MemoFont().pointSizeF(), 4.0);
        QCOMPARE(Setting("Options", "Zoom"), "-90");
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
