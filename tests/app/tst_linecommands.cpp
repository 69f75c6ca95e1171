#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "commands/ui/separatelines.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>

Q_DECLARE_METATYPE(std::string)

class TestLineCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    TMemo* Memo() const { return &m_form->Editor(); }
    QString Panel(int i) const { return m_form->StatusPanel(i)->text(); }
    // An unmodified document holding `text` (lone breaks kept) with the caret at `caret`.
    void Document(const std::string& text, std::int64_t caret = 0, std::int64_t selected = 0)
    {
        lines::SetTextRaw(Memo()->Document(), text);
        Memo()->SetSelection(caret, selected);
        m_form->Document().SetModified(false);
    }
    void Expect(const std::string& text, std::int64_t caret, bool modified)
    {
        QCOMPARE(Memo()->Document().Text(), text);
        QCOMPARE(Memo()->SelStart(), caret);
        QCOMPARE(Memo()->SelLength(), std::int64_t(0));
        QCOMPARE(m_form->Document().Modified(), modified);
    }
    QAction* Action(const QString& name) const { return m_form->findChild<QAction*>(name); }
    // Runs `act` while the dialog is up; `answer` fills it in and closes it.
    void WithDialog(QAction* menuItem, const std::function<void(TSeparate*)>& answer)
    {
        bool answered = false;
        QTimer::singleShot(0, this, [&] {
            QVERIFY(m_form->findChild<TSeparate*>()->isVisible());
            answer(m_form->findChild<TSeparate*>());
            answered = true;
        });
        menuItem->trigger();
        QVERIFY(answered);
        QVERIFY(!m_form->findChild<TSeparate*>()->isVisible());
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

    void everyLineCommandIsEnabled()
    {
        for (QAction* a : {Act(m_form, "SortLines1"), Act(m_form, "RandomizeLines1"), Act(m_form, "rimBoth1"), Act(m_form, "rimLeft1"),
                           Act(m_form, "rimRight1"), Act(m_form, "All1"), Act(m_form, "Selected1"), Act(m_form, "All2"), Act(m_form, "Selected2"),
                           Act(m_form, "SeparateLines1"), Act(m_form, "oBeginningOfLines1"), Act(m_form, "oEndOfLines1")})
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    }

    // Rows: menu item, document, caret before, expected text, caret after, modified after.
    void command_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<std::string>("text");
        QTest::addColumn<qint64>("caretBefore");
        QTest::addColumn<std::string>("expected");
        QTest::addColumn<qint64>("caret");
        QTest::addColumn<bool>("modified");
        const QString sort = QStringLiteral("SortLines1");
        QTest::newRow("sort keeps the quicksort order of equal lines")
            << sort << std::string("b\r\nA\r\na\r\nB\r\n") << qint64(0) << std::string("a\r\nA\r\nB\r\nb\r\n")
            << qint64(12) << true;
        QTest::newRow("sort drops the empty line") << sort << std::string("c\r\n\r\na\r\n") << qint64(0)
                                                   << std::string("a\r\nc\r\n") << qint64(6) << true;
        QTest::newRow("sort rewrites a sorted document") << sort << std::string("a\r\nb") << qint64(1)
                                                         << std::string("a\r\nb\r\n") << qint64(6) << true;
        QTest::newRow("sort of nothing gives a break")
            << sort << std::string() << qint64(0) << std::string("\r\n") << qint64(2) << true;
        QTest::newRow("trim right empties the last line") << QStringLiteral("rimRight1") << std::string("a  \r\n  ")
                                                          << qint64(0) << std::string("a\r\n") << qint64(3) << true;
        QTest::newRow("trim left keeps code 160") << QStringLiteral("rimLeft1") << std::string("\t x\r\n\xA0y ")
                                                  << qint64(0) << std::string("x\r\n\xA0y ") << qint64(6) << true;
        QTest::newRow("trim both") << QStringLiteral("rimBoth1") << std::string(" a \r\n b \r\n") << qint64(0)
                                   << std::string("a\r\nb\r\n") << qint64(4) << true;
        QTest::newRow("trim of nothing") << QStringLiteral("rimBoth1") << std::string() << qint64(0)
                                         << std::string() << qint64(0) << false;
        QTest::newRow("trim of trimmed lines still counts as a change")
            << QStringLiteral("rimBoth1") << std::string("a\r\nb") << qint64(0) << std::string("a\r\nb")
            << qint64(4) << true;
        QTest::newRow("lowercase turns I and dotted I into i")
            << QStringLiteral("All1") << std::string("\xDDSTANBUL I\xD0" "DIR") << qint64(5)
            << std::string("istanbul i\xF0" "dir") << qint64(0) << true;
        QTest::newRow("uppercase turns i and dotless i into I")
            << QStringLiteral("All2") << std::string("\xFDl\xFDk i\xF0ne") << qint64(3)
            << std::string("ILIK I\xD0NE") << qint64(0) << true;
        QTest::newRow("lowercase with nothing to change keeps the caret")
            << QStringLiteral("All1") << std::string("\xE2\xC2 1\r\n") << qint64(3) << std::string("\xE2\xC2 1\r\n")
            << qint64(3) << false;
        QTest::newRow("lowercase makes a lone LF a break")
            << QStringLiteral("All1") << std::string("1\n2") << qint64(2) << std::string("1\r\n2") << qint64(0)
            << true;
        QTest::newRow("selected with no selection changes nothing")
            << QStringLiteral("Selected1") << std::string("ABC\r\n") << qint64(2) << std::string("ABC\r\n")
            << qint64(2) << false;
    }
    void command()
    {
        QFETCH(QString, item);
        QFETCH(std::string, text);
        QFETCH(qint64, caretBefore);
        QFETCH(std::string, expected);
        QFETCH(qint64, caret);
        QFETCH(bool, modified);
        Document(text, caretBefore);
        Action(item)->trigger();
        Expect(expected, caret, modified);
        QCOMPARE(Panel(2), QString::number(Memo()->Document().Count()) + QStringLiteral(" Lines"));
    }

    void selectedConvertsOnlyTheSelection()
    {
        Document("xABCy\r\nDEF", 1, 3);
        Act(m_form, "Selected1")->trigger();
        Expect("xabcy\r\nDEF", 0, true);
        Document("\xFDl\xFDk i\xF0ne", 5, 4);
        Act(m_form, "Selected2")->trigger();
        Expect("\xFDl\xFDk I\xD0NE", 0, true);
    }
    void selectedNormalisesLoneBreaksOutsideTheSelection()
    {
        Document("AB\nC", 0, 1);
        Act(m_form, "Selected1")->trigger();
        Expect("aB\r\nC", 0, true);
    }
    void selectedWithNothingToConvertKeepsTheSelection()
    {
        Document("abc", 1, 2);
        Act(m_form, "Selected1")->trigger();
        QCOMPARE(Memo()->SelStart(), std::int64_t(1));
        QCOMPARE(Memo()->SelLength(), std::int64_t(2));
        QVERIFY(!m_form->Document().Modified());
    }

    void randomizeShowsProgressAndRestoresTheTitle()
    {
        m_form->setWindowTitle(QStringLiteral("Quorlex - a.txt"));
        QStringList titles;
        connect(m_form.get(), &QWidget::windowTitleChanged, this, [&](const QString& t) { titles << t; });
        Document("only\r\n");
        Act(m_form, "RandomizeLines1")->trigger();
        Expect("only\r\n", 4, true);
        QCOMPARE(titles, (QStringList{QStringLiteral("100%"), QStringLiteral("Quorlex - a.txt")}));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex - a.txt"));
    }
    void randomizeKeepsEveryLine()
    {
        std::string text;
        for (int i = 0; i < 300; ++i)
            text += std::to_string(i) + "\r\n";
        Document(text);
        QStringList titles;
        connect(m_form.get(), &QWidget::windowTitleChanged, this, [&](const QString& t) { titles << t; });
        Act(m_form, "RandomizeLines1")->trigger();
        const std::string shuffled = Memo()->Document().Text();
        QVERIFY(shuffled != text);
        auto sorted = [](const std::string& t) {
            QStringList lines = QString::fromLatin1(t).split(QStringLiteral("\r\n"));
            lines.sort();
            return lines;
        };
        QCOMPARE(sorted(shuffled), sorted(text));
        QVERIFY(titles.size() <= 102); // only when the shown percentage changes
        QCOMPARE(titles.value(titles.size() - 2), QStringLiteral("100%"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex"));
    }
    void randomizeOfNothingDoesNothing()
    {
        Document("");
        QSignalSpy spy(m_form.get(), &QWidget::windowTitleChanged);
        Act(m_form, "RandomizeLines1")->trigger();
        Expect("", 0, false);
        QCOMPARE(spy.count(), 0);
    }

    // Rows: menu item, document, entered text, expected text, caret after.
    void dialog_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<std::string>("text");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<std::string>("expected");
        QTest::addColumn<qint64>("caret");
        const QString join = QStringLiteral("SeparateLines1");
        const QString front = QStringLiteral("oBeginningOfLines1");
        const QString back = QStringLiteral("oEndOfLines1");
        QTest::newRow("join trims the lines") << join << std::string("a\r\n b \r\nc\r\n") << QStringLiteral(", ")
                                              << std::string("a, b, c\r\n") << qint64(9);
        QTest::newRow("join keeps empty lines")
            << join << std::string("a\r\n\r\nb") << QStringLiteral(", ") << std::string("a, , b\r\n") << qint64(8);
        QTest::newRow("join of nothing") << join << std::string() << QStringLiteral(", ") << std::string("\r\n")
                                         << qint64(2);
        QTest::newRow("insert to beginning") << front << std::string("a\r\nb\r\n") << QStringLiteral("> ")
                                             << std::string("> a\r\n> b\r\n") << qint64(8);
        QTest::newRow("insert to end") << back << std::string("a\r\n\r\nb") << QStringLiteral(";")
                                       << std::string("a;\r\n;\r\nb;") << qint64(9);
        QTest::newRow("insert into nothing") << front << std::string() << QStringLiteral("x") << std::string("x")
                                             << qint64(1);
        QTest::newRow("Turkish letters are the document's bytes")
            << back << std::string("a") << QStringLiteral(" \u015F\u0131") << std::string("a \xFE\xFD") << qint64(4);
    }
    void dialog()
    {
        QFETCH(QString, item);
        QFETCH(std::string, text);
        QFETCH(QString, entered);
        QFETCH(std::string, expected);
        QFETCH(qint64, caret);
        Document(text);
        WithDialog(Action(item), [&](TSeparate* d) {
            d->Edit1->setText(entered);
            d->BitBtn1->click();
        });
        Expect(expected, caret, true);
    }
    void dialogCaptionsAndTextBoxAreSetOnEveryShowing()
    {
        Document("a\r\n");
        WithDialog(Act(m_form, "SeparateLines1"), [](TSeparate* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Separate Lines"));
            QCOMPARE(d->Label1->text(), QStringLiteral("Between lines:"));
            QCOMPARE(d->Edit1->text(), QStringLiteral(", "));
            QVERIFY(d->findChildren<QPushButton*>().size() == 1); // no Cancel
            d->Edit1->setText(QStringLiteral("typed"));
            d->close();
        });
        WithDialog(Act(m_form, "oBeginningOfLines1"), [](TSeparate* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Insert To Beginning"));
            QCOMPARE(d->Label1->text(), QStringLiteral("Text:"));
            QCOMPARE(d->Edit1->text(), QString());
            d->close();
        });
        WithDialog(Act(m_form, "oEndOfLines1"), [](TSeparate* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Insert To End"));
            d->Edit1->setText(QStringLiteral("typed"));
            d->close();
        });
        WithDialog(Act(m_form, "SeparateLines1"), [](TSeparate* d) {
            QCOMPARE(d->Edit1->text(), QStringLiteral(", "));
            d->close();
        });
        // The close box changed nothing.
        Expect("a\r\n", 0, false);
    }
    void enterInTheTextBoxPressesOk()
    {
        Document("a\r\nb\r\n");
        WithDialog(Act(m_form, "SeparateLines1"), [](TSeparate* d) {
            d->Edit1->setText(QStringLiteral("-"));
            QTest::keyClick(d->Edit1, Qt::Key_Return);
        });
        Expect("a-b\r\n", 5, true);
    }
    void emptyInsertOnEmptyDocumentChangesNothing()
    {
        Document("");
        WithDialog(Act(m_form, "oEndOfLines1"), [](TSeparate* d) { d->BitBtn1->click(); });
        Expect("", 0, false);
    }
};

QTEST_MAIN(TestLineCommands)
#include "tst_linecommands.moc"
