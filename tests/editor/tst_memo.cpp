#include "document/TextDocument.h"
#include "editor/Memo.h"
#include "tests/support/MemoAccess.h"
#include "editor/RowLayout.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <random>

// A keystroke as a table cell: key, modifiers and the text it types.
struct Stroke {
    Qt::Key key;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    QString text = {};
};
using Strokes = QList<Stroke>;
Q_DECLARE_METATYPE(Strokes)

class TestMemo : public QObject {
    Q_OBJECT

    std::unique_ptr<TextDocument> m_doc;
    std::unique_ptr<TMemo> m_memo;

    TMemo& Memo() { return *m_memo; }
    QWidget* View() { return m_memo->viewport(); }
    std::string Text() { return m_memo->Document().Text(); }

    static void Press(QWidget* w, const Strokes& strokes)
    {
        for (const Stroke& s : strokes)
            QTest::sendKeyEvent(QTest::Click, w, s.key, s.text, s.mods);
    }
    // Where the caret at `offset` is drawn, in viewport coordinates (the caret moves there).
    QPoint PointOf(std::int64_t offset)
    {
        Memo().SetSelection(offset, 0);
        const QRect r = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        return r.center() - View()->geometry().topLeft();
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent e(type, QPointF(at), View()->mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, mods);
        QApplication::sendEvent(View(), &e);
    }
    // The first text row of the viewport as an image.
    QImage FirstRow()
    {
        const int height = QFontMetrics(Memo().font()).lineSpacing();
        return View()->grab(QRect(0, 0, View()->width(), height)).toImage();
    }
    static int InkPixels(const QImage& image)
    {
        const QRgb background = image.pixel(image.width() - 1, 0);
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += image.pixel(x, y) != background;
        return ink;
    }

private slots:
    void init()
    {
        m_doc = std::make_unique<TextDocument>();
        m_memo = std::make_unique<TMemo>(m_doc->Bytes());
        // The window's part: the keys ask, the document steps back.
        connect(m_memo.get(), &TMemo::UndoRequested, this, [this] { UndoIn(*m_memo); });
        connect(m_memo.get(), &TMemo::RedoRequested, this, [this] {
            const ByteDocument::Undone done = m_doc->Redo();
            if (done.start >= 0)
                m_memo->SetSelection(done.selStart, done.selLength);
        });
        m_memo->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
        m_memo->resize(400, 200);
        m_memo->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_memo.get()));
        m_memo->activateWindow();
        m_memo->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(m_memo.get()));
    }
    void cleanup()
    {
        m_memo.reset();
        m_doc.reset();
    }

    // --- keyboard ---

    void navigationAndSelection_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<Strokes>("keys");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const QByteArray two("ab\r\ncd");
        QTest::newRow("right steps over a line break") << two << 2 << Strokes{{Qt::Key_Right}} << 4 << 0;
        QTest::newRow("left steps over a line break") << two << 4 << Strokes{{Qt::Key_Left}} << 2 << 0;
        QTest::newRow("shift+right selects a line break whole") << two << 1 << Strokes{{Qt::Key_Right, shift}, {Qt::Key_Right, shift}} << 1 << 3;
        QTest::newRow("left collapses to the selection's start") << two << 0 << Strokes{{Qt::Key_End, shift}, {Qt::Key_Left}} << 0 << 0;
        QTest::newRow("right collapses to the selection's end") << two << 2 << Strokes{{Qt::Key_Home, shift}, {Qt::Key_Right}} << 2 << 0;
        QTest::newRow("home and end of a line") << two << 5 << Strokes{{Qt::Key_Home}} << 4 << 0;
        QTest::newRow("end of a line stops before the break") << two << 0 << Strokes{{Qt::Key_End}} << 2 << 0;
        QTest::newRow("ctrl+end and ctrl+home") << two << 1 << Strokes{{Qt::Key_End, ctrl}} << 6 << 0;
        QTest::newRow("shift+ctrl+home selects to the start") << two << 5 << Strokes{{Qt::Key_Home, ctrl | shift}} << 0 << 5;
        const QByteArray words("foo bar, baz");
        QTest::newRow("ctrl+right goes to the next word") << words << 0 << Strokes{{Qt::Key_Right, ctrl}} << 4 << 0;
        QTest::newRow("ctrl+right: signs are a word of their own") << words << 4 << Strokes{{Qt::Key_Right, ctrl}, {Qt::Key_Right, ctrl}} << 9 << 0;
        QTest::newRow("ctrl+left goes to the word's start") << words << 12 << Strokes{{Qt::Key_Left, ctrl}, {Qt::Key_Left, ctrl}} << 7 << 0;
        QTest::newRow("shift+ctrl+left selects a word") << words << 7 << Strokes{{Qt::Key_Left, ctrl | shift}} << 4 << 3;
        QTest::newRow("ctrl+right stops at a line break") << QByteArray("ab  \r\n  cd") << 0 << Strokes{{Qt::Key_Right, ctrl}, {Qt::Key_Right, ctrl}} << 6 << 0;
        QTest::newRow("ctrl+left stops at a line start") << QByteArray("ab\r\n  cd") << 6 << Strokes{{Qt::Key_Left, ctrl}} << 4 << 0;
        QTest::newRow("turkish letters are word letters") << QByteArray("\xFE\xF0\xFD x") << 0 << Strokes{{Qt::Key_Right, ctrl}} << 4 << 0;
        const QByteArray rows("abcdef\r\nab\r\nabcdef");
        QTest::newRow("down keeps the column through a short line") << rows << 5 << Strokes{{Qt::Key_Down}, {Qt::Key_Down}} << 17 << 0;
        QTest::newRow("down on a short line stops at its end") << rows << 5 << Strokes{{Qt::Key_Down}} << 10 << 0;
        QTest::newRow("up on the first row goes to the start") << rows << 3 << Strokes{{Qt::Key_Up}} << 0 << 0;
        QTest::newRow("down on the last row goes to the end") << rows << 13 << Strokes{{Qt::Key_Down}} << 18 << 0;
        QTest::newRow("shift+down selects to the same column") << rows << 1 << Strokes{{Qt::Key_Down, shift}} << 1 << 8;
        QTest::newRow("a lone CR is a character") << QByteArray("a\rb") << 0 << Strokes{{Qt::Key_Right}, {Qt::Key_Right}} << 2 << 0;
    }
    void navigationAndSelection()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, caret);
        QFETCH(Strokes, keys);
        lines::SetTextRaw(Memo().Document(), text.toStdString());
        Memo().SetSelection(caret, 0);
        Press(&Memo(), keys);
        QTEST(static_cast<int>(Memo().SelStart()), "selStart");
        QTEST(static_cast<int>(Memo().SelLength()), "selLength");
    }

    void pageKeysMoveTheViewAndTheCaret()
    {
        std::string text;
        for (int i = 0; i < 1000; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        lines::SetText(Memo().Document(), text);
        Memo().SetSelection(0, 0);
        QTest::keyClick(&Memo(), Qt::Key_PageDown);
        const int page = Memo().verticalScrollBar()->value();
        QVERIFY(page > 3);
        QCOMPARE(Memo().Document().LineOfOffset(Memo().SelStart()), page);
        const std::int64_t caret = Memo().SelStart();
        QTest::keyClick(&Memo(), Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(Memo().SelStart(), caret);
        QVERIFY(Memo().SelLength() > 0);
        QVERIFY(Memo().verticalScrollBar()->value() > page);
        QTest::keyClick(&Memo(), Qt::Key_PageUp);
        QTest::keyClick(&Memo(), Qt::Key_PageUp);
        QCOMPARE(Memo().SelStart(), std::int64_t(0));
        QCOMPARE(Memo().SelLength(), std::int64_t(0));
        QCOMPARE(Memo().verticalScrollBar()->value(), 0);
    }

    void editingKeys_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<Strokes>("keys");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("caret");
        const QByteArray two("ab\r\ncd");
        QTest::newRow("enter types CR LF") << QByteArray("ab") << 1 << 0 << Strokes{{Qt::Key_Return}} << QByteArray("a\r\nb") << 3;
        QTest::newRow("shift+enter types CR LF") << QByteArray("ab") << 1 << 0 << Strokes{{Qt::Key_Return, Qt::ShiftModifier}} << QByteArray("a\r\nb") << 3;
        QTest::newRow("keypad enter types CR LF") << QByteArray("ab") << 2 << 0 << Strokes{{Qt::Key_Enter, Qt::KeypadModifier}} << QByteArray("ab\r\n") << 4;
        QTest::newRow("enter replaces the selection") << QByteArray("abc") << 1 << 1 << Strokes{{Qt::Key_Return}} << QByteArray("a\r\nc") << 3;
        QTest::newRow("backspace takes a line break whole") << two << 4 << 0 << Strokes{{Qt::Key_Backspace}} << QByteArray("abcd") << 2;
        QTest::newRow("delete takes a line break whole") << two << 2 << 0 << Strokes{{Qt::Key_Delete}} << QByteArray("abcd") << 2;
        QTest::newRow("backspace at the start does nothing") << two << 0 << 0 << Strokes{{Qt::Key_Backspace}} << two << 0;
        QTest::newRow("delete at the end does nothing") << two << 6 << 0 << Strokes{{Qt::Key_Delete}} << two << 6;
        QTest::newRow("backspace removes the selection") << two << 1 << 4 << Strokes{{Qt::Key_Backspace}} << QByteArray("ad") << 1;
        QTest::newRow("ctrl+backspace removes a word") << QByteArray("foo bar") << 7 << 0 << Strokes{{Qt::Key_Backspace, Qt::ControlModifier}} << QByteArray("foo ") << 4;
        QTest::newRow("ctrl+tab types a tab") << QByteArray("ab") << 1 << 0 << Strokes{{Qt::Key_Tab, Qt::ControlModifier}} << QByteArray("a\tb") << 2;
        QTest::newRow("tab types nothing") << QByteArray("ab") << 1 << 0 << Strokes{{Qt::Key_Tab}, {Qt::Key_Backtab, Qt::ShiftModifier}} << QByteArray("ab") << 1;
        QTest::newRow("letters of the code page") << QByteArray() << 0 << 0 << Strokes{{Qt::Key_unknown, {}, QStringLiteral("ş")}, {Qt::Key_unknown, {}, QStringLiteral("İ")}} << QByteArray("\xFE\xDD") << 2;
        QTest::newRow("other characters become ?") << QByteArray() << 0 << 0 << Strokes{{Qt::Key_unknown, {}, QStringLiteral("中")}, {Qt::Key_unknown, {}, QString::fromUtf8("\xF0\x9F\x98\x80")}} << QByteArray("??") << 2;
        QTest::newRow("typing replaces the selection") << QByteArray("abc") << 0 << 2 << Strokes{{Qt::Key_X, {}, QStringLiteral("x")}} << QByteArray("xc") << 1;
        QTest::newRow("ctrl+letter types nothing") << QByteArray("ab") << 1 << 0 << Strokes{{Qt::Key_B, Qt::ControlModifier, QStringLiteral("\x02")}} << QByteArray("ab") << 1;
        const Stroke insert{Qt::Key_Insert}, x{Qt::Key_X, {}, QStringLiteral("x")}, y{Qt::Key_Y, {}, QStringLiteral("y")};
        QTest::newRow("overwrite replaces what is under the caret") << QByteArray("abc") << 0 << 0 << Strokes{insert, x, y} << QByteArray("xyc") << 2;
        QTest::newRow("overwrite never takes a line break") << two << 1 << 0 << Strokes{insert, x, y, x} << QByteArray("axyx\r\ncd") << 4;
        QTest::newRow("overwrite takes a lone LF, a character") << QByteArray("a\nb") << 1 << 0 << Strokes{insert, x} << QByteArray("axb") << 2;
        QTest::newRow("insert twice inserts again") << QByteArray("abc") << 0 << 0 << Strokes{insert, insert, x} << QByteArray("xabc") << 1;
        QTest::newRow("enter in overwrite breaks the line") << QByteArray("abc") << 1 << 0 << Strokes{insert, {Qt::Key_Return}} << QByteArray("a\r\nbc") << 3;
        QTest::newRow("alt+backspace undoes") << QByteArray("ab") << 2 << 0 << Strokes{x, y, {Qt::Key_Backspace, Qt::AltModifier}} << QByteArray("ab") << 2;
    }
    void editingKeys()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(Strokes, keys);
        lines::SetTextRaw(Memo().Document(), text.toStdString());
        Memo().SetSelection(selStart, selLength);
        Press(&Memo(), keys);
        QTEST(QByteArray::fromStdString(Text()), "expected");
        QTEST(static_cast<int>(Memo().SelStart()), "caret");
        QCOMPARE(Memo().SelLength(), std::int64_t(0));
        QVERIFY(Memo().hasFocus()); // Tab never moves the focus away
    }

    void undoTwiceRedoes()
    {
        lines::SetText(Memo().Document(), "x");
        Memo().SetSelection(1, 0);
        QSignalSpy changes(m_doc.get(), &TextDocument::Changed);
        QSignalSpy undoState(m_doc.get(), &TextDocument::UndoStateChanged);
        QTest::keyClicks(&Memo(), QStringLiteral("abc"));
        QCOMPARE(Text(), "xabc");
        QCOMPARE(changes.count(), 3);
        QVERIFY(Memo().Document().CanUndo());
        QVERIFY(undoState.count() >= 1);
        QTest::keyClick(&Memo(), Qt::Key_Z, Qt::ControlModifier); // the typing goes as one step
        QCOMPARE(Text(), "x");
        QCOMPARE(Memo().SelStart(), std::int64_t(1));
        QTest::keyClick(&Memo(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Text(), "xabc");
        QCOMPARE(Memo().SelStart(), std::int64_t(4));
        QCOMPARE(changes.count(), 5);
        undoState.clear();
        lines::SetText(Memo().Document(), "new"); // a whole new text forgets the step
        QVERIFY(!Memo().Document().CanUndo());
        QVERIFY(undoState.count() >= 1);
    }

    void setSelectionClamps_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("caret");
        // "ab\r\ncd": 6 bytes, a break at 2..4
        QTest::newRow("before the start") << -5 << 3 << 0 << 0 << 0;
        QTest::newRow("past the end") << 2 << 100 << 2 << 4 << 6;
        QTest::newRow("backwards: the caret before the anchor") << 5 << -3 << 2 << 3 << 2;
        QTest::newRow("inside a break: behind it") << 3 << 0 << 4 << 0 << 4;
        QTest::newRow("ending inside a break") << 0 << 3 << 0 << 4 << 4;
    }
    void setSelectionClamps()
    {
        lines::SetText(Memo().Document(), "ab\r\ncd");
        QFETCH(int, start);
        QFETCH(int, length);
        Memo().SetSelection(start, length);
        QTEST(static_cast<int>(Memo().SelStart()), "selStart");
        QTEST(static_cast<int>(Memo().SelLength()), "selLength");
        QTEST(static_cast<int>(Memo().CaretOffset()), "caret");
    }

    void changeIsRaisedForEveryChangeButAnEqualText()
    {
        QSignalSpy changes(m_doc.get(), &TextDocument::Changed);
        QSignalSpy contents(&Memo(), &TMemo::ContentsChanged);
        m_doc->SetText("a\nb");
        QCOMPARE(Text(), "a\r\nb");
        m_doc->SetText("a\r\nb");
        QCOMPARE(changes.count(), 1);
        m_doc->Replace(0, 1, "a"); // the same byte: still a change the user asked for
        QCOMPARE(changes.count(), 2);
        QCOMPARE(contents.count(), 1); // the view had nothing to follow
        QVERIFY(m_doc->Modified());
        m_doc->Reset(); // a new document: unmodified, and the view follows it
        QVERIFY(!m_doc->Modified());
        QCOMPARE(contents.count(), 2);
        QCOMPARE(Memo().Document().Length(), std::int64_t(0));
    }

    void editsMoveTheCaretAndTheAnchor()
    {
        lines::SetText(Memo().Document(), "0123456789");
        Memo().SetSelection(4, 3);
        QSignalSpy selection(&Memo(), &TMemo::SelectionChanged);
        Memo().Document().Replace(0, 0, "ab");
        QCOMPARE(Memo().SelStart(), std::int64_t(6));
        QCOMPARE(Memo().SelLength(), std::int64_t(3));
        Memo().Document().Replace(9, 3, {});
        QCOMPARE(Memo().SelStart(), std::int64_t(6));
        QCOMPARE(Memo().SelLength(), std::int64_t(3));
        Memo().Document().Replace(5, 3, "xy"); // takes the selection's start: it closes behind the new bytes
        QCOMPARE(Memo().SelStart(), std::int64_t(7));
        QCOMPARE(Memo().SelLength(), std::int64_t(1));
        QCOMPARE(selection.count(), 2);
        lines::SetText(Memo().Document(), "ab\r\ncd");
        Memo().SetSelection(3, 0); // between CR and LF: behind the break
        QCOMPARE(Memo().SelStart(), std::int64_t(4));
    }

    // --- clipboard ---

    void clipboardBothWays()
    {
        lines::SetText(Memo().Document(), "\xDD\xFE x\r\ny");
        Memo().SelectAll();
        QTest::keyClick(&Memo(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("İş x\r\ny"));
        Memo().SetSelection(0, 2);
        QTest::keyClick(&Memo(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(Text(), " x\r\ny");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("İş"));
        QGuiApplication::clipboard()->setText(QStringLiteral("ğ中\nz\r\n"));
        Memo().SetSelection(Memo().Document().Length(), 0);
        QTest::keyClick(&Memo(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Text(), " x\r\ny\xF0?\r\nz\r\n");
        QCOMPARE(Memo().SelStart(), Memo().Document().Length());
        UndoIn(Memo());
        QCOMPARE(Text(), " x\r\ny");
        Memo().SetSelection(0, 1);
        Memo().DeleteSelection();
        QCOMPARE(Text(), "x\r\ny");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ğ中\nz\r\n"));
    }

    // --- input methods ---

    void inputMethodCommitsAndComposes()
    {
        lines::SetText(Memo().Document(), "ab");
        Memo().SetSelection(1, 0);
        QInputMethodEvent compose(QStringLiteral("ğ"), {});
        QApplication::sendEvent(&Memo(), &compose);
        QCOMPARE(Text(), "ab"); // the pre-edit text is shown, not written
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("ğ"));
        QApplication::sendEvent(&Memo(), &commit);
        QCOMPARE(Text(), "a\xF0" "b");
        QCOMPARE(Memo().SelStart(), std::int64_t(2));
        const QRect caret = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(Memo().rect().contains(caret));
        QCOMPARE(Memo().inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("ağb"));
        QCOMPARE(Memo().inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
    }

    // --- mouse ---

    void clickPlacesShiftClickExtendsDragSelects()
    {
        lines::SetText(Memo().Document(), "first line\r\nsecond line\r\nthird line");
        const QPoint at3 = PointOf(3);
        const QPoint at15 = PointOf(15);
        const QPoint at28 = PointOf(28);
        Memo().SetSelection(0, 0);
        QTest::mouseClick(View(), Qt::LeftButton, {}, at15);
        QCOMPARE(Memo().SelStart(), std::int64_t(15));
        QTest::mouseClick(View(), Qt::LeftButton, Qt::ShiftModifier, at3);
        QCOMPARE(Memo().SelStart(), std::int64_t(3));
        QCOMPARE(Memo().SelLength(), std::int64_t(12));
        Mouse(QEvent::MouseButtonPress, at3, Qt::LeftButton);
        Mouse(QEvent::MouseMove, at15, Qt::LeftButton);
        Mouse(QEvent::MouseMove, at28, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, at28, Qt::NoButton);
        QCOMPARE(Memo().SelStart(), std::int64_t(3));
        QCOMPARE(Memo().SelLength(), std::int64_t(25));
        QCOMPARE(Memo().CaretOffset(), std::int64_t(28));
    }

    void doubleClickSelectsAWord()
    {
        lines::SetText(Memo().Document(), "one tw\xFE" "o, three");
        const QPoint inWord = PointOf(5) + QPoint(2, 0);
        QTest::mouseDClick(View(), Qt::LeftButton, {}, inWord);
        QCOMPARE(Memo().SelStart(), std::int64_t(4));
        QCOMPARE(Memo().SelLength(), std::int64_t(4));
        QCOMPARE(Memo().SelText(), "tw\xFEo");
    }

    // A double or triple click, then a drag: the selection grows by whole words or lines, both ways.
    void clicksAndDragsSelectByWordsAndLines_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QByteArray>("selected");
        QTest::newRow("triple click: the line without its break") << 3 << 13 << -1 << QByteArray("beta gamma");
        QTest::newRow("words, dragged right") << 2 << 14 << 20 << QByteArray("beta gamma");
        QTest::newRow("words, dragged left onto the line above") << 2 << 20 << 6 << QByteArray("delta\r\nbeta gamma");
        QTest::newRow("lines, dragged down") << 3 << 13 << 27 << QByteArray("beta gamma\r\nomega");
        QTest::newRow("lines, dragged up") << 3 << 13 << 2 << QByteArray("alpha delta\r\nbeta gamma");
    }
    void clicksAndDragsSelectByWordsAndLines()
    {
        QFETCH(int, clicks);
        QFETCH(int, from);
        QFETCH(int, to);
        lines::SetText(Memo().Document(), "alpha delta\r\nbeta gamma\r\nomega");
        const QPoint start = PointOf(from) + QPoint(2, 0);
        const QPoint end = to < 0 ? start : PointOf(to) + QPoint(2, 0);
        Memo().SetSelection(0, 0);
        Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, start, Qt::NoButton);
        Mouse(QEvent::MouseButtonDblClick, start, Qt::LeftButton);
        if (clicks == 3) {
            Mouse(QEvent::MouseButtonRelease, start, Qt::NoButton);
            Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
        }
        Mouse(QEvent::MouseMove, end, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, end, Qt::NoButton);
        QTEST(QByteArray::fromStdString(Memo().SelText()), "selected");
    }

    // Text from another program goes in where it is dropped; files are handed on to be opened.
    void dropsFromOtherPrograms()
    {
        lines::SetText(Memo().Document(), "ab");
        QSignalSpy files(&Memo(), &TMemo::FilesDropped);
        QMimeData text, paths;
        text.setText(QStringLiteral("şu ✓"));
        paths.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.txt"))});
        paths.setText(QStringLiteral("/tmp/a b.txt"));
        for (QMimeData* mime : {&text, &paths}) {
            QDragEnterEvent enter(PointOf(1), Qt::CopyAction, mime, Qt::LeftButton, {});
            QApplication::sendEvent(View(), &enter);
            QDropEvent drop(QPointF(PointOf(1)), Qt::CopyAction, mime, Qt::LeftButton, {});
            QApplication::sendEvent(View(), &drop);
            QVERIFY(enter.isAccepted() && drop.isAccepted());
        }
        QCOMPARE(Text(), "a\xFEu ?b");
        QCOMPARE(files.count(), 1);
        QCOMPARE(files[0][0].toStringList(), QStringList{QStringLiteral("/tmp/a b.txt")});
    }

    void dragBeyondTheEdgeScrolls()
    {
        std::string text;
        for (int i = 0; i < 500; ++i)
            text += "row " + std::to_string(i) + "\r\n";
        lines::SetText(Memo().Document(), text);
        const QPoint start = PointOf(0);
        Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
        Mouse(QEvent::MouseMove, QPoint(start.x(), View()->height() + 40), Qt::LeftButton);
        QTRY_VERIFY(Memo().verticalScrollBar()->value() > 20);
        Mouse(QEvent::MouseButtonRelease, QPoint(start.x(), View()->height() + 40), Qt::NoButton);
        const int scrolled = Memo().verticalScrollBar()->value();
        QTest::qWait(100);
        QCOMPARE(Memo().verticalScrollBar()->value(), scrolled); // stops with the button
        QCOMPARE(Memo().SelStart(), std::int64_t(0));
        QVERIFY(Memo().Document().LineOfOffset(Memo().CaretOffset()) > 20);
    }

    void wheelScrollsRows()
    {
        std::string text;
        for (int i = 0; i < 100; ++i)
            text += "row\r\n";
        lines::SetText(Memo().Document(), text);
        QWheelEvent wheel(QPointF(10, 10), View()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(View(), &wheel);
        QCOMPARE(Memo().verticalScrollBar()->value(), QApplication::wheelScrollLines());
    }

    // --- word wrap and scrolling ---

    void wordWrapMakesRowsOfALongLine()
    {
        std::string line;
        for (int i = 0; i < 60; ++i)
            line += "word" + std::to_string(i) + ' ';
        lines::SetText(Memo().Document(), line);
        Memo().SetWordWrap(true);
        QVERIFY(Memo().WordWrap());
        QCOMPARE(Memo().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(Memo().Document().Count(), 1);
        Memo().SetSelection(0, 0);
        QTest::keyClick(&Memo(), Qt::Key_End);
        const std::int64_t rowEnd = Memo().SelStart();
        QVERIFY(rowEnd > 10 && rowEnd < static_cast<std::int64_t>(line.size()));
        QCOMPARE(line[static_cast<std::size_t>(rowEnd)], ' '); // the row breaks at a blank
        const QRect endCaret = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(endCaret.right() <= Memo().viewport()->geometry().right());
        QTest::keyClick(&Memo(), Qt::Key_Home);
        QTest::keyClick(&Memo(), Qt::Key_Down);
        const std::int64_t second = Memo().SelStart();
        QCOMPARE(second, rowEnd + 1); // the start of the second row
        const QRect secondCaret = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(secondCaret.top() > endCaret.top());
        // Off again: one row, scrolled sideways to follow the caret.
        Memo().SetWordWrap(false);
        QTest::keyClick(&Memo(), Qt::Key_End);
        QCOMPARE(Memo().SelStart(), static_cast<std::int64_t>(line.size()));
        QVERIFY(Memo().horizontalScrollBar()->value() > 0);
        const QRect caret = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(Memo().viewport()->geometry().contains(caret.center()));
    }

    void horizontalBarReachesTheWidestLineInSight()
    {
        lines::SetText(Memo().Document(), "short\r\n" + std::string(3000, 'w') + "\r\nshort");
        Memo().SetSelection(0, 0);
        QScrollBar* bar = Memo().horizontalScrollBar();
        const qreal charWidth = QFontMetricsF(Memo().font()).horizontalAdvance(u'w');
        QVERIFY(bar->maximum() >= 3000 * charWidth * 0.95 - Memo().viewport()->width());
        bar->setValue(bar->maximum());
        QVERIFY(FirstRow() != QImage()); // paints from the middle of nowhere without trouble
        QCOMPARE(Memo().SelStart(), std::int64_t(0));
    }

    void wrapOnAndOffKeepsTheTopLine()
    {
        std::string text;
        for (int i = 0; i < 2000; ++i)
            text += "line " + std::to_string(i) + " with a few words in it\r\n";
        lines::SetText(Memo().Document(), text);
        QScrollBar* bar = Memo().verticalScrollBar();
        bar->setValue(500); // without wrap the bar counts lines
        Memo().SetWordWrap(true);
        QCOMPARE(static_cast<std::int64_t>(bar->value()), Memo().Document().LineStart(500)); // with wrap, bytes
        QTest::keyClick(bar, Qt::Key_Down); // an arrow step is one row
        QCOMPARE(static_cast<std::int64_t>(bar->value()), Memo().Document().LineStart(501));
        Memo().SetWordWrap(false);
        QCOMPARE(bar->value(), 501);
    }

    void theCaretStaysInSightInHugeDocuments_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<bool>("oneLine");
        QTest::newRow("many lines") << false << false;
        QTest::newRow("many lines, wrapped") << true << false;
        QTest::newRow("one long line") << false << true;
        QTest::newRow("one long line, wrapped") << true << true;
    }
    void theCaretStaysInSightInHugeDocuments()
    {
        QFETCH(bool, wrap);
        QFETCH(bool, oneLine);
        std::string text;
        if (oneLine) {
            for (int i = 0; i < 200000; ++i)
                text += "a word\t";
        } else {
            for (int i = 0; i < 200000; ++i)
                text += "line " + std::to_string(i) + "\r\n";
        }
        Memo().SetWordWrap(wrap);
        lines::AdoptText(Memo().Document(), std::move(text));
        const QRect area = Memo().viewport()->geometry();
        for (int key : {Qt::Key_End, Qt::Key_Home}) {
            QTest::keyClick(&Memo(), static_cast<Qt::Key>(key), Qt::ControlModifier);
            const QRect caret = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect();
            QVERIFY2(area.contains(caret.center()), qPrintable(QStringLiteral("key %1").arg(key)));
        }
        QTest::keyClick(&Memo(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(&Memo(), QStringLiteral("z"));
        QCOMPARE(Memo().Document().At(Memo().Document().Length() - 1), 'z');
        QVERIFY(area.contains(Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect().center()));
        QScrollBar* bar = oneLine && !wrap ? Memo().horizontalScrollBar() : Memo().verticalScrollBar();
        if (bar == Memo().verticalScrollBar())
            QCOMPARE(bar->value(), bar->maximum());
        const QImage end = View()->grab().toImage();
        bar->setValue(bar->maximum() / 2); // the bar still works in the middle
        QVERIFY(bar->value() > 0);
        QVERIFY(View()->grab().toImage() != end);
        if (!wrap)
            return;
        // Resized, the rows are made anew where they are seen: the caret stays in sight, before
        // the idle wrap has worked out the rest and after; Page Down goes on from there.
        auto inSight = [&] {
            return Memo().viewport()->geometry().contains(Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect().center());
        };
        Memo().resize(520, Memo().height());
        Memo().GoTo(Memo().Document().Length() / 2);
        for (const int width : {200, 520, 400}) {
            Memo().resize(width, Memo().height());
            QApplication::processEvents();
            QVERIFY2(inSight(), qPrintable(QString::number(width)));
        }
        QTRY_VERIFY(!Memo().RowsPending());
        QVERIFY(inSight());
        const std::int64_t before = Memo().CaretOffset();
        QTest::keyClick(&Memo(), Qt::Key_PageDown);
        QVERIFY(Memo().CaretOffset() > before + 100);
        QVERIFY(inSight());
    }

    // --- painting ---

    void everyControlByteLooksDifferentAndNoneIsBlank()
    {
        const std::string bytes[] = {std::string(1, '\0'), "\x01", "a\rb", "a\nb", "\x81", "\x7F", "\x1B", "\xF0", "\xFD", "\x80"};
        QList<QImage> images;
        for (const std::string& b : bytes) {
            lines::SetTextRaw(Memo().Document(), b);
            images.append(FirstRow());
            QVERIFY2(InkPixels(images.back()) > 20, b.c_str());
        }
        for (int i = 0; i < images.size(); ++i)
            for (int j = i + 1; j < images.size(); ++j)
                QVERIFY2(images[i] != images[j], qPrintable(QStringLiteral("%1 and %2 look alike").arg(i).arg(j)));
    }

    void selectionIsShownOnlyWithTheFocus()
    {
        lines::SetText(Memo().Document(), "selected text");
        Memo().SelectAll();
        const QImage focused = FirstRow();
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(!Memo().hasFocus());
        const QImage unfocused = FirstRow();
        Memo().SetSelection(0, 0);
        const QImage plain = FirstRow();
        QCOMPARE(unfocused, plain);
        QVERIFY(focused != plain);
    }

    void backgroundKeepsTextAndSelectionReadable()
    {
        lines::SetText(Memo().Document(), "text");
        Memo().SetBackgroundColor(QColor(0, 0, 128));
        QCOMPARE(Memo().BackgroundColor(), QColor(0, 0, 128));
        const QImage row = FirstRow();
        QCOMPARE(QColor(row.pixel(row.width() - 1, 0)), QColor(0, 0, 128));
        QVERIFY(InkPixels(row) > 20);
        Memo().SelectAll();
        const QImage selected = FirstRow();
        QVERIFY(QColor(selected.pixel(4, 1)) != QColor(0, 0, 128)); // the selection stands out
    }

    void fontChangeRebuildsTheLayout()
    {
        lines::SetText(Memo().Document(), "abcdef");
        Memo().SetSelection(6, 0);
        const int narrow = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        Memo().setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 20));
        const int wide = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        QVERIFY(wide > narrow * 3 / 2);
        Memo().setFont(QFont(QStringLiteral("DejaVu Serif"), 10)); // proportional
        lines::SetText(Memo().Document(), "iiii\r\nWWWW");
        Memo().SetSelection(4, 0);
        const int thin = Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        Memo().SetSelection(10, 0);
        QVERIFY(Memo().inputMethodQuery(Qt::ImCursorRectangle).toRect().x() > thin * 2);
    }

    // --- screen readers ---

    void screenReadersSeeOneCharacterPerByte()
    {
        lines::SetText(Memo().Document(), "bir iki\r\n\xFC\xE7");
        Memo().SetSelection(5, 0);
        QAccessibleInterface* memo = QAccessible::queryAccessibleInterface(&Memo());
        QVERIFY(memo && memo->textInterface());
        QAccessibleTextInterface* text = memo->textInterface();
        QCOMPARE(memo->role(), QAccessible::EditableText);
        QCOMPARE(text->characterCount(), 11);
        QCOMPARE(text->cursorPosition(), 5);
        QCOMPARE(text->text(9, 11), QStringLiteral("üç"));
        int start = 0;
        int end = 0;
        QCOMPARE(text->textAtOffset(5, QAccessible::WordBoundary, &start, &end), QStringLiteral("iki"));
        QCOMPARE(start, 4);
        QCOMPARE(text->textAtOffset(7, QAccessible::CharBoundary, &start, &end), QStringLiteral("\r\n"));
        QCOMPARE(text->textAtOffset(2, QAccessible::LineBoundary, &start, &end), QStringLiteral("bir iki\r\n"));
        QCOMPARE(text->textAfterOffset(2, QAccessible::LineBoundary, &start, &end), QStringLiteral("üç"));
        QCOMPARE(end, 11);
        text->setSelection(0, 0, 3);
        QCOMPARE(Memo().SelText(), "bir");
        const QRect letter = text->characterRect(4);
        QVERIFY(letter.width() > 1);
        QCOMPARE(text->offsetAtPoint(letter.center() - QPoint(letter.width() / 4, 0)), 4);
    }

    void screenReadersNameAndEditTheDocument()
    {
        lines::SetText(Memo().Document(), "bir iki");
        QAccessibleInterface* memo = QAccessible::queryAccessibleInterface(&Memo());
        QCOMPARE(memo->text(QAccessible::Name), QStringLiteral("Document"));
        QAccessibleEditableTextInterface* edit = memo->editableTextInterface();
        QVERIFY(edit);
        edit->insertText(3, QStringLiteral(" üç\n"));
        QCOMPARE(Text(), "bir \xFC\xE7\r\n iki");
        edit->replaceText(0, 3, QStringLiteral("Bir"));
        edit->deleteText(8, 9); // not between the CR and the LF: the break stays whole
        QCOMPARE(Text(), "Bir \xFC\xE7\r\niki");
        UndoIn(Memo());
        QCOMPARE(Text(), "Bir \xFC\xE7\r\n iki");
    }

    // --- the row cache ---

    // Edits repair the rows of a long wrapped line and the checkpoints of a long line in place;
    // after each one they must equal what a fresh layout computes.
    void repairedRowsEqualFreshOnes_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::newRow("wrap rows") << true;
        QTest::newRow("checkpoints") << false;
    }
    void repairedRowsEqualFreshOnes()
    {
        QFETCH(bool, wrap);
        ByteDocument doc;
        std::mt19937 random(7);
        // One long line at first; edits now and then put in a break, or half of one that may meet
        // its other half.
        const char* pieces[] = {"a", "word ", " ", "\t", "longerword", "  ", "x\ty", "\r\n", "\r", "\n"};
        auto piece = [&] { return pieces[random() % 100 < 96 ? random() % 7 : 7 + random() % 3]; };
        std::string text;
        while (text.size() < 80000)
            text += pieces[random() % 7];
        doc.Assign(std::move(text));
        AdvanceTable table;
        for (int b = 0; b < 256; ++b)
            table.advance[static_cast<std::size_t>(b)] = 64 * (5 + b % 7);
        table.tabStop = 64 * 40;
        RowLayout kept(doc);
        kept.SetAdvances(table);
        kept.SetWrapWidth(wrap ? 64 * 300 : 0);
        int pieceCount = doc.Pieces();
        doc.AddListener([&](const DocumentEdit& e) {
            kept.OnEdit(e, pieceCount);
            pieceCount = doc.Pieces();
        });
        for (int step = 0; step < 400; ++step) {
            kept.AllRowStarts(0); // built (or repaired) before the next edit
            kept.LineWidth(0);
            const auto length = doc.Length();
            const auto at = static_cast<std::int64_t>(random() % static_cast<unsigned>(length + 1));
            const auto removed = static_cast<std::int64_t>(random() % 4 == 0 ? random() % 50 : random() % 3);
            doc.Replace(at, removed, random() % 3 == 0 ? "" : piece());
            RowLayout fresh(doc);
            fresh.SetAdvances(table);
            fresh.SetWrapWidth(wrap ? 64 * 300 : 0);
            for (int line = 0; line < doc.Pieces(); ++line) {
                QCOMPARE(kept.AllRowStarts(line), fresh.AllRowStarts(line));
                QCOMPARE(kept.LineWidth(line), fresh.LineWidth(line));
                // And both agree with adding the advances one byte at a time.
                RowLayout::Fixed x = 0;
                for (const char ch : doc.Slice(doc.LineStart(line), doc.LineEnd(line) - doc.LineStart(line)))
                    x += fresh.Advance(static_cast<unsigned char>(ch), x);
                QCOMPARE(fresh.LineWidth(line), x);
            }
        }
    }
};

QTEST_MAIN(TestMemo)
#include "tst_memo.moc"
