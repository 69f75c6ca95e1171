#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "commands/DateStamps.h"
#include "commands/FindReplace.h"
#include "commands/ui/FindDialogs.h"
#include "document/LineText.h"
#include "document/TextFile.h"
#include "platform/Cp1254.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Answer = IDialogs::Answer;

class TestEditing : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    TMemo* Memo() const { return &m_form->Editor(); }
    std::string Text() const { return Memo()->Document().Text(); }
    QPushButton* Button(QDialog& dialog, const char* name) const
    {
        return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void FindNext(const QString& pattern)
    {
        Act(m_form, "ToolButton12")->trigger();
        FindDialogOf(m_form).SetFindText(pattern);
        Button(FindDialogOf(m_form), "FindNext")->click();
    }
    void Type(char ch) { QTest::keyClick(Memo(), ch); }
    void StartSimulatorOn(const std::string& text)
    {
        lines::SetText(Memo()->Document(), text);
        Act(m_form, "KeyPressSimulator1")->trigger();
        QVERIFY(Act(m_form, "KeyPressSimulator1")->isChecked());
    }
    // The counters follow the document's own index: after any edit they must agree with a
    // count made from scratch over the text.
    void CheckCounters()
    {
        const std::string text = Text();
        const LineView lines(text);
        QCOMPARE(m_form->StatusPanel(2)->text(), QString::number(lines.Count()) + QStringLiteral(" Lines"));
        QCOMPARE(m_form->StatusPanel(3)->text(), QString::number(text.size()) + QStringLiteral(" Bytes"));
        QCOMPARE(Memo()->Document().Count(), lines.Count());
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
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        Memo()->setFocus();
    }
    void cleanup()
    {
        m_form->Document().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        m_form.reset();
    }

    // --- find and replace ---
    void findNextWalksThroughTheOccurrences()
    {
        lines::SetText(Memo()->Document(), "abcabc");
        FindNext(QStringLiteral("abc"));
        QCOMPARE(Memo()->SelStart(), 0);
        QCOMPARE(Memo()->SelLength(), 3);
        Button(FindDialogOf(m_form), "FindNext")->click();
        QCOMPARE(Memo()->SelStart(), 3);
        Button(FindDialogOf(m_form), "FindNext")->click();
        QCOMPARE(m_dialogs->informations, QStringList{QStringLiteral("Search String Not Found!")});
        QCOMPARE(Memo()->SelStart(), 3);
        QCOMPARE(Memo()->SelLength(), 3);
        QVERIFY(m_form->findChild<TFindDialog*>()->isVisible());
        QCOMPARE(Text(), "abcabc");
    }
    void findNext_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<qint64>("start"); // -1: not found
        QTest::newRow("case matters") << QByteArray("abc") << QStringLiteral("ABC") << qint64(-1);
        QTest::newRow("no whole-word rule") << QByteArray("concatenate") << QStringLiteral("cat") << qint64(3);
        QTest::newRow("line break counts two") << QByteArray("a\r\nb") << QStringLiteral("b") << qint64(3);
        QTest::newRow("Turkish letter") << QByteArray("kap\xFD \xFD") << QStringLiteral("\u0131 ") << qint64(3);
    }
    void findNext()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, pattern);
        QFETCH(qint64, start);
        lines::SetText(Memo()->Document(), text.toStdString());
        FindNext(pattern);
        if (start < 0) {
            QCOMPARE(m_dialogs->informations.size(), 1);
            QCOMPARE(Memo()->SelLength(), 0);
        } else {
            QCOMPARE(Memo()->SelStart(), start);
            QCOMPARE(Memo()->SelLength(), cp1254::Encode(pattern).size());
        }
    }
    // Each box of the dialogs changes what Find Next finds. -1: "Search String Not Found!".
    void findDialogBoxes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("boxes"); // clicked before the search
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<qint64>("from");       // caret, nothing selected
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("length");
        const QStringList none;
        const QString caseOff = QStringLiteral("MatchCase");
        QTest::newRow("case checked at first") << QByteArray("k\xFDsa SATIR") << none << QStringLiteral("sat\u0131r")
                                               << qint64(0) << qint64(-1) << qint64(0);
        QTest::newRow("case off, dotless i") << QByteArray("k\xFDsa SATIR") << QStringList{caseOff}
                                             << QStringLiteral("sat\u0131r") << qint64(0) << qint64(5) << qint64(5);
        QTest::newRow("inside a word") << QByteArray("a\xF0" "a\xE7 \xF0" "a") << none << QStringLiteral("\u011Fa")
                                       << qint64(0) << qint64(1) << qint64(2);
        QTest::newRow("whole word") << QByteArray("a\xF0" "a\xE7 \xF0" "a") << QStringList{QStringLiteral("WholeWord")}
                                    << QStringLiteral("\u011Fa") << qint64(0) << qint64(5) << qint64(2);
        QTest::newRow("up") << QByteArray("x a x") << QStringList{QStringLiteral("Up")} << QStringLiteral("x")
                            << qint64(2) << qint64(0) << qint64(1);
        QTest::newRow("no wrap at the end") << QByteArray("ab ab") << none << QStringLiteral("ab") << qint64(4)
                                            << qint64(-1) << qint64(0);
        QTest::newRow("wrap around") << QByteArray("ab ab") << QStringList{QStringLiteral("WrapAround")}
                                     << QStringLiteral("ab") << qint64(4) << qint64(0) << qint64(2);
        QTest::newRow("up and wrap") << QByteArray("ab ab")
                                     << QStringList{QStringLiteral("Up"), QStringLiteral("WrapAround")}
                                     << QStringLiteral("ab") << qint64(1) << qint64(3) << qint64(2);
        QTest::newRow("regex, Turkish word") << QByteArray("-- \xE7" "a\xF0 1")
                                             << QStringList{QStringLiteral("RegularExpression")}
                                             << QStringLiteral("\\w+") << qint64(0) << qint64(3) << qint64(3);
    }
    void findDialogBoxes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, boxes);
        QFETCH(QString, pattern);
        QFETCH(qint64, from);
        QFETCH(qint64, start);
        QFETCH(qint64, length);
        lines::SetText(Memo()->Document(), text.toStdString());
        Memo()->SetSelection(from, 0);
        Act(m_form, "ToolButton12")->trigger();
        for (const QString& box : boxes)
            FindDialogOf(m_form).findChild<QAbstractButton*>(box)->click();
        FindNext(pattern);
        if (start < 0) {
            QCOMPARE(m_dialogs->informations, QStringList{QStringLiteral("Search String Not Found!")});
            QCOMPARE(Memo()->SelStart(), from);
            QCOMPARE(Memo()->SelLength(), 0);
        } else {
            QCOMPARE(Memo()->SelStart(), start);
            QCOMPARE(Memo()->SelLength(), length);
        }
    }
    void enterTwiceFindsTwiceAndTheKeysStayInTheDialog()
    {
        lines::SetText(Memo()->Document(), "abc abc abc");
        Memo()->SetSelection(0, 0);
        Act(m_form, "ToolButton12")->trigger();
        TFindDialog& dialog = FindDialogOf(m_form);
        QTRY_VERIFY(dialog.isActiveWindow());
        auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("FindText"));
        QTest::keyClicks(field, QStringLiteral("abc"));
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(Text(), "abc abc abc");
        QCOMPARE(Memo()->SelStart(), 4);
        QCOMPARE(Memo()->SelLength(), 3);
        QVERIFY(dialog.isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), field);
        QVERIFY(!Memo()->hasFocus());
        // The match shows without the focus, in another colour than with it.
        const QImage unfocused = Memo()->viewport()->grab().toImage();
        Memo()->SetSelection(7, 0);
        QVERIFY(Memo()->viewport()->grab().toImage() != unfocused);
        Memo()->SetSelection(4, 3);

        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QTRY_VERIFY(Memo()->hasFocus());
        QCOMPARE(Memo()->SelStart(), 4);
        QCOMPARE(Memo()->SelLength(), 3);
        QVERIFY(!Memo()->ShowsSelectionUnfocused());
        QVERIFY(Memo()->viewport()->grab().toImage() != unfocused);
        QTest::keyClick(Memo(), Qt::Key_Right); // the keys are the editor's again
        QCOMPARE(Memo()->SelLength(), 0);
    }
    void menuShortcutsOpenTheDialogs()
    {
        QTest::keyClick(m_form.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(m_form->findChild<TFindDialog*>() && m_form->findChild<TFindDialog*>()->isVisible());
        m_form->activateWindow();
        QTest::keyClick(m_form.get(), Qt::Key_H, Qt::ControlModifier);
        QVERIFY(m_form->findChild<TReplaceDialog*>() && m_form->findChild<TReplaceDialog*>()->isVisible());
        // Both stay open, and opening again only brings the dialog forward.
        QVERIFY(m_form->findChild<TFindDialog*>()->isVisible());
        TFindDialog* first = m_form->findChild<TFindDialog*>();
        Act(m_form, "Find1")->trigger();
        QCOMPARE(m_form->findChild<TFindDialog*>(), first);
        QCOMPARE(FindDialogOf(m_form).findChild<QLineEdit*>(QStringLiteral("FindText"))->maxLength(), 255);
    }
    void replaceFindNextCopiesItsTextIntoTheFindDialog()
    {
        lines::SetText(Memo()->Document(), "one two");
        m_form->Document().SetModified(false);
        Act(m_form, "ToolButton13")->trigger();
        ReplaceDialogOf(m_form).SetFindText(QStringLiteral("two"));
        Button(ReplaceDialogOf(m_form), "FindNext")->click();
        QCOMPARE(FindDialogOf(m_form).FindText(), QStringLiteral("two"));
        QCOMPARE(Memo()->SelStart(), 4);
        QCOMPARE(Memo()->SelLength(), 3);
        QVERIFY(!m_form->Document().Modified());
    }
    void replaceResumesBehindTheInsertedText()
    {
        lines::SetText(Memo()->Document(), "aa");
        m_form->Document().SetModified(false);
        Memo()->SetSelection(0, 0);
        Act(m_form, "ToolButton13")->trigger();
        ReplaceDialogOf(m_form).SetFindText(QStringLiteral("a"));
        ReplaceDialogOf(m_form).SetReplaceText(QStringLiteral("aa"));
        Button(ReplaceDialogOf(m_form), "Replace")->click();
        QCOMPARE(Text(), "aaa");
        QCOMPARE(Memo()->SelStart(), 2);
        QCOMPARE(Memo()->SelLength(), 0);
        QVERIFY(m_form->Document().Modified());
        Button(ReplaceDialogOf(m_form), "Replace")->click();
        QCOMPARE(Text(), "aaaa");
        QCOMPARE(Memo()->SelStart(), 4);
        Button(ReplaceDialogOf(m_form), "Replace")->click();
        QCOMPARE(m_dialogs->informations, QStringList{QStringLiteral("Search String Not Found!")});
        QCOMPARE(Text(), "aaaa");
    }
    void replaceAllIsOneChangeOfTheWholeDocument()
    {
        lines::SetText(Memo()->Document(), "cat cat\r\ncat");
        Act(m_form, "UndoHistory1")->trigger();
        Memo()->SetSelection(5, 0); // before the caret too
        Act(m_form, "ToolButton13")->trigger();
        ReplaceDialogOf(m_form).SetFindText(QStringLiteral("cat"));
        ReplaceDialogOf(m_form).SetReplaceText(QStringLiteral("lion"));
        QSignalSpy changes(&m_form->Document(), &TextDocument::Changed);
        Button(ReplaceDialogOf(m_form), "ReplaceAll")->click();
        QCOMPARE(Text(), "lion lion\r\nlion");
        QCOMPARE(changes.count(), 1);
        QCOMPARE(m_form->StatusPanel(0)->text(), QStringLiteral("3 occurrences replaced"));
        QCOMPARE(Memo()->SelStart(), 15);
        QCOMPARE(Memo()->SelLength(), 0);
        QVERIFY(m_form->Document().Modified());
        CheckCounters();
        QTRY_VERIFY(ReplaceDialogOf(m_form).isActiveWindow());
        Act(m_form, "EditUndo1")->trigger();
        QCOMPARE(Text(), "cat cat\r\ncat");

        ReplaceDialogOf(m_form).findChild<QAbstractButton*>(QStringLiteral("WholeWord"))->click();
        ReplaceDialogOf(m_form).SetFindText(QStringLiteral("ca"));
        Button(ReplaceDialogOf(m_form), "ReplaceAll")->click();
        QCOMPARE(m_dialogs->informations, QStringList{QStringLiteral("Search String Not Found!")});
        QCOMPARE(Text(), "cat cat\r\ncat");
    }
    void invalidPatternShowsTheErrorAndChangesNothing()
    {
        lines::SetText(Memo()->Document(), "a(b");
        m_form->Document().SetModified(false);
        Memo()->SetSelection(1, 1);
        Act(m_form, "ToolButton13")->trigger();
        ReplaceDialogOf(m_form).findChild<QAbstractButton*>(QStringLiteral("RegularExpression"))->click();
        ReplaceDialogOf(m_form).SetFindText(QStringLiteral("a("));
        for (const char* button : {"FindNext", "Replace", "ReplaceAll"})
            Button(ReplaceDialogOf(m_form), button)->click();
        QCOMPARE(m_dialogs->errors.size(), 3);
        QVERIFY2(m_dialogs->errors[0].contains(QStringLiteral("Invalid regular expression at 2")),
                 qPrintable(m_dialogs->errors[0]));
        QCOMPARE(Text(), "a(b");
        QVERIFY(!m_form->Document().Modified());
        QCOMPARE(Memo()->SelStart(), 1);
        QCOMPARE(Memo()->SelLength(), 1);
    }
    void replaceAcrossLines()
    {
        lines::SetText(Memo()->Document(), "a\r\nb\r\nb");
        Memo()->SetSelection(0, 0);
        Act(m_form, "ToolButton13")->trigger();
        ReplaceDialogOf(m_form).SetFindText(QStringLiteral("b"));
        ReplaceDialogOf(m_form).SetReplaceText(QStringLiteral("xyz"));
        Button(ReplaceDialogOf(m_form), "Replace")->click();
        QCOMPARE(Text(), "a\r\nxyz\r\nb");
        QCOMPARE(Memo()->SelStart(), 6);
        CheckCounters();
    }
    void replaceBySameTextStillChangesTheDocument()
    {
        lines::SetText(Memo()->Document(), "a b a");
        m_form->Document().SetModified(false);
        Memo()->SetSelection(0, 0);
        Act(m_form, "ToolButton13")->trigger();
        ReplaceDialogOf(m_form).SetFindText(QStringLiteral("a"));
        ReplaceDialogOf(m_form).SetReplaceText(QStringLiteral("a"));
        Button(ReplaceDialogOf(m_form), "Replace")->click();
        QCOMPARE(Text(), "a b a");
        QVERIFY(m_form->Document().Modified());
        QCOMPARE(Memo()->SelStart(), 1);
    }
    void cancelOnlyClosesTheDialog()
    {
        lines::SetText(Memo()->Document(), "abc");
        Act(m_form, "ToolButton12")->trigger();
        Button(FindDialogOf(m_form), "Cancel")->click();
        QVERIFY(!m_form->findChild<TFindDialog*>()->isVisible());
        QCOMPARE(Text(), "abc");
    }
    void countersFollowEveryKindOfEdit()
    {
        lines::SetText(Memo()->Document(), "first line\r\nsecond line\r\n");
        Act(m_form, "ToolButton12")->trigger();
        Memo()->setFocus();
        Memo()->SetSelection(5, 0);
        for (char ch : std::string("xy z"))
            Type(ch);
        CheckCounters();
        QTest::keyClick(Memo(), Qt::Key_Return);
        QTest::keyClick(Memo(), Qt::Key_Backspace);
        QTest::keyClick(Memo(), Qt::Key_Return);
        CheckCounters();
        Memo()->SetSelection(0, 3);
        QTest::keyClick(Memo(), Qt::Key_Delete);
        CheckCounters();
        QGuiApplication::clipboard()->setText(QStringLiteral("p\u00A0q\nr"));
        Memo()->Paste();
        CheckCounters();
        UndoIn(Memo());
        CheckCounters();
        m_form->Add("\r", 1);
        CheckCounters();
        m_form->Add("\n", 1);
        CheckCounters();
        lines::Put(Memo()->Document(), 0, "replaced");
        lines::Delete(Memo()->Document(), 1);
        lines::Add(Memo()->Document(), "appended");
        CheckCounters();
        lines::SetText(Memo()->Document(), "a whole new text");
        CheckCounters();
        // Clear raises no change notification: the counters keep what they showed.
        m_form->Document().Clear();
        QCOMPARE(Memo()->Document().Count(), 0);
        QCOMPARE(m_form->StatusPanel(3)->text(), QStringLiteral("16 Bytes"));
    }

    // --- insertion at the caret ---
    void addKeepsTheSelectedTextBehindTheInsertion()
    {
        lines::SetText(Memo()->Document(), "abcd");
        m_form->Document().SetModified(false);
        Memo()->SetSelection(1, 2);
        m_form->Add("XY", 2);
        QCOMPARE(Text(), "aXYbcd");
        QCOMPARE(Memo()->SelStart(), 3);
        QCOMPARE(Memo()->SelLength(), 0);
        QVERIFY(m_form->Document().Modified());
    }
    void addAtTheEndOfATextEndingWithABreak()
    {
        lines::SetText(Memo()->Document(), "a\r\n");
        Memo()->SetSelection(3, 0);
        m_form->Add("stamp", 5);
        QCOMPARE(Text(), "a\r\nstamp");
        QCOMPARE(Memo()->SelStart(), 8);
    }
    void addDateSubmenuShowsThePreviewWhenOpened()
    {
        const QList<QAction*> items = {Act(m_form, "N8"), Act(m_form, "N9"), Act(m_form, "N10"), Act(m_form, "N11"), Act(m_form, "N12"), Act(m_form, "N13")};
        for (QAction* item : items)
            QCOMPARE(item->text(), QStringLiteral(" "));
        const QDateTime before = QDateTime::currentDateTime();
        emit m_form->findChild<QMenu*>(QStringLiteral("AddDate1"))->aboutToShow();
        const QDateTime after = QDateTime::currentDateTime();
        const DateStampLocale formats = DateStampLocale::FromLocale(QLocale::system());
        for (int i = 0; i < kDateStampCount; ++i) {
            const QString caption = items[i]->text();
            const auto stamp = static_cast<DateStamp>(i);
            QVERIFY2(caption == cp1254::Decode(DateStampText(stamp, before, formats)) ||
                         caption == cp1254::Decode(DateStampText(stamp, after, formats)),
                     qPrintable(caption));
        }
        QVERIFY(items[4]->text().contains(QLocale::c().monthName(before.date().month())) ||
                items[4]->text().contains(QLocale::c().monthName(after.date().month())));
    }
    void dateStampGoesToTheCaret()
    {
        lines::SetText(Memo()->Document(), "abc");
        Memo()->SetSelection(0, 0);
        const QDateTime before = QDateTime::currentDateTime();
        Act(m_form, "N10")->trigger();
        const QDateTime after = QDateTime::currentDateTime();
        const DateStampLocale formats = DateStampLocale::FromLocale(QLocale::system());
        const std::string early = DateStampText(DateStamp::Time, before, formats);
        const std::string late = DateStampText(DateStamp::Time, after, formats);
        const std::string text = Text();
        QVERIFY2(text == early + "abc" || text == late + "abc", text.c_str());
        QCOMPARE(Memo()->SelStart(), static_cast<std::int64_t>(text.size() - 3));
    }
    void viewFollowsTheCaretAfterAStamp()
    {
        std::string lines;
        for (int i = 0; i < 2000; ++i)
            lines += "line " + std::to_string(i) + "\r\n";
        lines::SetText(Memo()->Document(), lines);
        Memo()->SetSelection(Memo()->Document().Length(), 0);
        Memo()->EnsureCaretVisible();
        Memo()->verticalScrollBar()->setValue(0);
        Act(m_form, "N8")->trigger();
        QVERIFY(Memo()->verticalScrollBar()->value() > 0);
    }

    // --- KeyPress simulator ---
    void simulatorWritesOneStoredCharacterPerKey()
    {
        StartSimulatorOn("ab");
        QCOMPARE(Text(), "");
        Type('q');
        Type('w');
        QCOMPARE(Text(), "ab");
        Type('e');
        // The CR stands alone, shown as its control picture, until its LF follows.
        QCOMPARE(Text(), "ab\r");
        Type('r');
        QCOMPARE(Text(), "ab\r\n");
        QCOMPARE(Memo()->Document().Pieces(), 2);
        QCOMPARE(Memo()->SelStart(), 4);
        Type('t'); // everything is written: the key types as usual
        QCOMPARE(Text(), "ab\r\nt");
        QVERIFY(Act(m_form, "KeyPressSimulator1")->isChecked());
        QVERIFY(m_form->Document().Modified());
    }
    void simulatorTakesBackspaceAndEnterAsTyping()
    {
        StartSimulatorOn("xyz");
        QTest::keyClick(Memo(), Qt::Key_Backspace);
        QTest::keyClick(Memo(), Qt::Key_Return);
        QTest::keyClick(Memo(), Qt::Key_Space);
        QCOMPARE(Text(), "xyz");
    }
    void simulatorLeavesShortcutsAndNavigationAlone()
    {
        StartSimulatorOn("abc");
        Type('1');
        QTest::keyClick(Memo(), Qt::Key_A, Qt::ControlModifier); // Select All
        QCOMPARE(Text(), "a");
        QCOMPARE(Memo()->SelLength(), 1);
        QTest::keyClick(Memo(), Qt::Key_Home);
        Type('2');
        // The next character goes where the caret is.
        QCOMPARE(Text(), "ba");
        Type('3'); // the third character of the stored text comes next
        QCOMPARE(Text(), "bca");
    }
    void simulatorStopRestoresTheWholeDocument()
    {
        StartSimulatorOn("0123456789");
        for (char ch : std::string("abc"))
            Type(ch);
        QCOMPARE(Text(), "012");
        Act(m_form, "KeyPressSimulator1")->trigger();
        QVERIFY(!Act(m_form, "KeyPressSimulator1")->isChecked());
        QCOMPARE(Text(), "0123456789\r\n");
        Type('k'); // off again: typed normally
        QCOMPARE(Text(), "k0123456789\r\n");
    }
    void simulatorOnATextEndingWithABreak()
    {
        StartSimulatorOn("a\r\n");
        for (int i = 0; i < 5; ++i)
            Type('z');
        QCOMPARE(Text(), "a\r\n\r\n");
    }
    void simulatorRefusesABlankDocument()
    {
        lines::SetText(Memo()->Document(), "  ");
        m_form->Document().SetModified(false);
        Act(m_form, "KeyPressSimulator1")->trigger();
        QVERIFY(!Act(m_form, "KeyPressSimulator1")->isChecked());
        QCOMPARE(m_dialogs->noticeTitles, QStringList{QStringLiteral("KeyPress Simulator")});
        QCOMPARE(m_dialogs->notices,
                 QStringList{QStringLiteral("Open a text file first.\rThen click KeyPress Simulator and press random "
                                            "keys.\rAnd let Quorlex write the text correctly.")});
        QCOMPARE(Text(), "  ");
        QVERIFY(!m_form->Document().Modified());
        Type('x');
        QCOMPARE(Text(), "x  ");
    }
    void fileOpenWhileActiveRestoresTheTextFirst()
    {
        StartSimulatorOn("stored text");
        Type('a');
        m_dialogs->saveAnswers.push_back(Answer::Cancel);
        Act(m_form, "FileOpen1")->trigger();
        QVERIFY(!Act(m_form, "KeyPressSimulator1")->isChecked());
        QCOMPARE(Text(), "stored text\r\n");
        // The restored document counts as modified, so Open asked to save it.
        QCOMPARE(m_dialogs->prompts.size(), 1);
    }
    void fileNewWhileActiveRestoresThenEmpties()
    {
        StartSimulatorOn("keep");
        m_dialogs->saveAnswers.push_back(Answer::No);
        Act(m_form, "FileNew1")->trigger();
        QVERIFY(!Act(m_form, "KeyPressSimulator1")->isChecked());
        QCOMPARE(Text(), "");
    }
    void viewFollowsTheSimulatedTyping()
    {
        std::string lines;
        for (int i = 0; i < 300; ++i)
            lines += "row\r\n";
        StartSimulatorOn(lines);
        for (int i = 0; i < 5 * 300; ++i)
            QTest::keyClick(Memo(), Qt::Key_X);
        QVERIFY(Memo()->verticalScrollBar()->value() > 0);
        const QRect caret = Memo()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(Memo()->viewport()->rect().intersects(caret));
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
