#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "document/TextFile.h"
#include "platform/IniFile.h"
#include "tests/support/FormAccess.h"
#include "tests/support/ScriptedDialogs.h"

#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(std::string)

// The Undo History option and Redo, seen from the menus and the keyboard.
class TestUndoHistory : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    TextDocument& Doc() const { return m_form->Document(); }
    void Open(const std::string& text, std::int64_t caret = 0)
    {
        Doc().SetText(text);
        m_form->Editor().SetSelection(caret, 0);
        Doc().SetModified(false);
    }
    QStringList Items(const char* menu) const
    {
        QStringList texts;
        for (QAction* a : m_form->findChild<QMenu*>(QString::fromLatin1(menu))->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }
    void Undo() { Act(m_form, "EditUndo1")->trigger(); }
    void Redo() { Act(m_form, "EditRedo1")->trigger(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
    }
    void init()
    {
        QFile::remove(m_home.filePath(QStringLiteral("settings.ini")));
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_form = std::make_unique<TAppForm>(m_dialogs);
        m_form->show();
    }
    void cleanup()
    {
        Doc().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        QCOMPARE(m_dialogs->errors, QStringList());
        m_form.reset();
    }

    void itemsSitWhereTheMenusHadRoom()
    {
        QCOMPARE(Items("Options1"),
                 (QStringList{QStringLiteral("&Background Color..."), QStringLiteral("&Font Properties..."),
                              QStringLiteral("Undo &History")}));
        QCOMPARE(Items("Edit1").mid(0, 2), (QStringList{QStringLiteral("&Undo"), QStringLiteral("R&edo")}));
        QAction* redo = Act(m_form, "EditRedo1");
        QCOMPARE(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                                         QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
        QCOMPARE(redo->toolTip(), QStringLiteral("Redo"));
        QCOMPARE(redo->statusTip(), QStringLiteral("Redo the last undone action"));
        QCOMPARE(Act(m_form, "UndoHistory1")->statusTip(), QStringLiteral("Keep every change for Undo and Redo"));
        QVERIFY(!Act(m_form, "UndoHistory1")->isChecked());
        QVERIFY(!redo->isEnabled());
    }

    void theDefaultIsOneLevel()
    {
        Open("abc", 3);
        QTest::keyClicks(&m_form->Editor(), QStringLiteral("de"));
        Act(m_form, "SortLines1")->trigger(); // a command leaves no step behind
        QVERIFY(!Act(m_form, "EditUndo1")->isEnabled());
        const std::string sorted = Doc().Text();
        m_form->Editor().SetSelection(0, 0);
        QTest::keyClicks(&m_form->Editor(), QStringLiteral("x"));
        QCOMPARE(Doc().Text(), "x" + sorted);
        Undo();
        QCOMPARE(Doc().Text(), sorted);
        QVERIFY(Act(m_form, "EditRedo1")->isEnabled());
        Undo(); // a second Undo redoes
        QCOMPARE(Doc().Text(), "x" + sorted);
        QVERIFY(!Act(m_form, "EditRedo1")->isEnabled());
        Undo();
        Redo(); // Redo does what a second Undo would
        QCOMPARE(Doc().Text(), "x" + sorted);
    }

    void theSettingIsStoredAtOnceAndReadBack()
    {
        Act(m_form, "UndoHistory1")->trigger();
        QVERIFY(Act(m_form, "UndoHistory1")->isChecked());
        const TIniFile ini(m_home.filePath(QStringLiteral("settings.ini")));
        QCOMPARE(ini.ReadString("Options", "UndoHistory"), std::string("True"));
        TAppForm again(m_dialogs);
        QVERIFY(Act(again, "UndoHistory1")->isChecked());
        QVERIFY(again.Document().KeepsHistory());
        Act(again, "UndoHistory1")->trigger();
        QCOMPARE(ini.ReadString("Options", "UndoHistory"), std::string("False"));
    }

    void commands_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("sort") << QStringLiteral("SortLines1");
        QTest::newRow("upper case") << QStringLiteral("All2");
        QTest::newRow("trim") << QStringLiteral("rimBoth1");
        QTest::newRow("word list") << QStringLiteral("GenerateWordList1");
    }
    void commands()
    {
        QFETCH(QString, action);
        Act(m_form, "UndoHistory1")->trigger();
        const std::string before = "c \r\n a\r\nb\r\n";
        Open(before, 0);
        QTest::keyClicks(&m_form->Editor(), QStringLiteral("z"));
        const std::string typed = Doc().Text();
        Act(m_form, action.toLatin1().constData())->trigger();
        const std::string after = Doc().Text();
        QVERIFY(after != typed);
        Undo();
        QCOMPARE(Doc().Text(), typed);
        QCOMPARE(m_form->Editor().SelStart(), std::int64_t(1)); // the selection the command had
        Undo();
        QCOMPARE(Doc().Text(), before);
        QVERIFY(Doc().Modified()); // an Undo is a change like any other
        QVERIFY(!Act(m_form, "EditUndo1")->isEnabled());
        Redo();
        Redo();
        QCOMPARE(Doc().Text(), after);
        QVERIFY(!Act(m_form, "EditRedo1")->isEnabled());
        Undo();
        QTest::keyClicks(&m_form->Editor(), QStringLiteral("q")); // a new change drops what could be redone
        QVERIFY(!Act(m_form, "EditRedo1")->isEnabled());
    }

    void keysWalkTheHistoryAndWrapKeepsIt()
    {
        Act(m_form, "UndoHistory1")->trigger();
        Open("", 0);
        QTest::keyClicks(&m_form->Editor(), QStringLiteral("one"));
        QTest::keyClick(&m_form->Editor(), Qt::Key_Left); // a caret move ends the group
        QTest::keyClick(&m_form->Editor(), Qt::Key_Right);
        QTest::keyClicks(&m_form->Editor(), QStringLiteral(" two"));
        Act(m_form, "Wordwrap1")->trigger();
        QTest::keyClick(&m_form->Editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Doc().Text(), std::string("one"));
        QTest::keyClick(&m_form->Editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Doc().Text(), std::string());
        QTest::keyClick(&m_form->Editor(), Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(&m_form->Editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Doc().Text(), std::string("one two"));
    }

    void openingStartsAnEmptyHistory()
    {
        Act(m_form, "UndoHistory1")->trigger();
        const QString path = m_home.filePath(QStringLiteral("a.txt"));
        WriteFileBytes(path, std::string_view("text"));
        Open("typed", 5);
        QTest::keyClicks(&m_form->Editor(), QStringLiteral("!"));
        m_dialogs->saveAnswers.push_back(IDialogs::Answer::No);
        m_form->DropFiles({path});
        QCOMPARE(Doc().Text(), std::string("text"));
        QVERIFY(!Act(m_form, "EditUndo1")->isEnabled());
        QVERIFY(!Act(m_form, "EditRedo1")->isEnabled());
    }
};

QTEST_MAIN(TestUndoHistory)
#include "tst_undohistory.moc"
