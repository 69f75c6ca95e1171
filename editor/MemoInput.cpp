#include "editor/Memo.h"

#include "editor/MemoView.h"
#include "platform/Cp1254.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <array>

namespace {

enum class CharClass : std::uint8_t { Blank, Word, Other };

const std::array<CharClass, 256>& Classes()
{
    static const std::array<CharClass, 256> table = [] {
        std::array<CharClass, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const QChar ch(cp1254::ToUnicode(static_cast<unsigned char>(b)));
            if (b == ' ' || b == '\t' || b == 0xA0)
                t[static_cast<std::size_t>(b)] = CharClass::Blank;
            else if (b >= 0x20 && (ch.isLetterOrNumber() || b == '_'))
                t[static_cast<std::size_t>(b)] = CharClass::Word;
            else
                t[static_cast<std::size_t>(b)] = CharClass::Other;
        }
        return t;
    }();
    return table;
}

CharClass ClassOf(unsigned char b) { return Classes()[b]; }

bool IsTab(const QKeyEvent* k) { return k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab; }

// Undo, as the platform's classic edit controls have it.
bool IsAltBackspace(const QKeyEvent* k)
{
    return k->key() == Qt::Key_Backspace && (k->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}

// Keys the editor uses itself, so that a window shortcut on the same key does not take them.
bool EditorKey(QKeyEvent* k)
{
    const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    if (IsAltBackspace(k) || (mods == Qt::NoModifier && k->key() == Qt::Key_Insert))
        return true;
    if (mods == Qt::NoModifier || mods == Qt::ShiftModifier) {
        if (k->key() < Qt::Key_Escape)
            return true; // printable
        switch (k->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            return false;
        }
    }
    if (mods & Qt::ControlModifier) {
        switch (k->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Tab:
            return true;
        default:
            break;
        }
    }
    return k->matches(QKeySequence::Undo) || k->matches(QKeySequence::Redo) || k->matches(QKeySequence::Cut) ||
           k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) ||
           k->matches(QKeySequence::SelectAll);
}

} // namespace

std::string TypedBytes(QStringView text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == u'\r' || ch == u'\n' || ch == 0x2028 || ch == 0x2029) {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += "\r\n";
            continue;
        }
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            out += '?';
            continue;
        }
        const int b = cp1254::FromUnicode(ch);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

bool TMemo::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (EditorKey(k)) {
            k->accept();
            return true;
        }
    } else if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (IsTab(k)) {
            // Tab would move the focus away, and the editor is the only control that takes it;
            // Ctrl+Tab types the tab character.
            if (k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ControlModifier))
                keyPressEvent(k);
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

// --- keys ---

void TMemo::keyPressEvent(QKeyEvent* e)
{
    View& v = *m_view;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (e->matches(QKeySequence::Undo) || IsAltBackspace(e)) {
        emit UndoRequested();
    } else if (e->matches(QKeySequence::Redo) || (ctrl && e->key() == Qt::Key_Y)) {
        emit RedoRequested();
    } else if (e->matches(QKeySequence::Cut)) {
        Cut();
    } else if (e->matches(QKeySequence::Copy)) {
        Copy();
    } else if (e->matches(QKeySequence::Paste)) {
        Paste();
    } else if (e->matches(QKeySequence::SelectAll)) {
        SelectAll();
    } else if (e->key() == Qt::Key_Insert && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        SetOverwrite(!v.overwrite);
    } else if (Navigate(e)) {
        m_doc->EndTypingGroup();
    } else if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete) {
        if (SelLength() == 0) {
            const bool back = e->key() == Qt::Key_Backspace;
            const Offset to = back ? (ctrl ? WordLeft(v.caret) : CharLeft(v.caret))
                                   : (ctrl ? WordRight(v.caret) : CharRight(v.caret));
            v.anchor = to;
        }
        ReplaceSelection({}, ByteDocument::Undo::Coalesce);
    } else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        ReplaceSelection("\r\n", ByteDocument::Undo::Coalesce);
    } else if (e->key() == Qt::Key_Tab && ctrl) {
        ReplaceSelection("\t", ByteDocument::Undo::Coalesce);
    } else {
        const QString text = e->text();
        const bool command = ctrl && !(e->modifiers() & Qt::AltModifier); // Ctrl+Alt is AltGr on some keyboards
        if (text.isEmpty() || command || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F) {
            e->ignore();
            return;
        }
        TypeText(text);
    }
    e->accept();
}

bool TMemo::Navigate(QKeyEvent* e)
{
    if (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    View& v = *m_view;
    RowLayout& layout = v.layout;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const Offset caret = v.caret;
    const bool collapse = !shift && SelLength() > 0;
    Offset target = caret;
    auto vertical = [&](std::int64_t rows, bool page) {
        ViewRow row = layout.RowOf(caret);
        const Fixed goal = v.goalX >= 0 ? v.goalX : layout.XOf(row, caret);
        const std::int64_t moved = layout.Move(row, rows);
        if (page)
            ScrollRows(moved);
        target = moved == 0 ? (rows < 0 ? 0 : m_doc->Length()) : layout.OffsetAt(row, goal);
        MoveCaret(target, shift, true);
        v.goalX = goal;
        EnsureCaretVisible();
        return true;
    };
    switch (e->key()) {
    case Qt::Key_Left:
        target = ctrl ? WordLeft(caret) : collapse ? SelStart() : CharLeft(caret);
        break;
    case Qt::Key_Right:
        target = ctrl ? WordRight(caret) : collapse ? SelStart() + SelLength() : CharRight(caret);
        break;
    case Qt::Key_Up:
        return ctrl ? false : vertical(-1, false);
    case Qt::Key_Down:
        return ctrl ? false : vertical(1, false);
    case Qt::Key_PageUp:
        return vertical(-std::max(1, RowsInSight() - 1), true);
    case Qt::Key_PageDown:
        return vertical(std::max(1, RowsInSight() - 1), true);
    case Qt::Key_Home:
        target = ctrl ? 0 : layout.RowStart(layout.RowOf(caret));
        break;
    case Qt::Key_End: {
        if (ctrl) {
            target = m_doc->Length();
            break;
        }
        const ViewRow row = layout.RowOf(caret);
        const Offset end = layout.RowEnd(row);
        // Inside a wrapped line the row's end is the next row's start: stop before it.
        target = layout.IsLastRowOfLine(row) ? end : std::max(layout.RowStart(row), end - 1);
        break;
    }
    default:
        return false;
    }
    MoveCaret(target, shift);
    EnsureCaretVisible();
    return true;
}

std::int64_t TMemo::CharLeft(std::int64_t at) const
{
    if (at >= 2 && m_doc->At(at - 2) == '\r' && m_doc->At(at - 1) == '\n')
        return at - 2;
    return std::max<Offset>(0, at - 1);
}

std::int64_t TMemo::CharRight(std::int64_t at) const
{
    const Offset length = m_doc->Length();
    if (at + 1 < length && m_doc->At(at) == '\r' && m_doc->At(at + 1) == '\n')
        return at + 2;
    return std::min(length, at + 1);
}

// Word steps stop at line breaks, skip blanks, and treat a run of letters and digits or a run of
// other signs as one word.
std::int64_t TMemo::WordRight(std::int64_t at) const
{
    const ByteDocument& doc = *m_doc;
    const Offset length = doc.Length();
    auto isBreak = [&](Offset i) { return i + 1 < length && doc.At(i) == '\r' && doc.At(i + 1) == '\n'; };
    if (at >= length)
        return length;
    if (isBreak(at))
        return at + 2;
    const CharClass c = ClassOf(doc.At(at));
    if (c != CharClass::Blank)
        while (at < length && ClassOf(doc.At(at)) == c && !isBreak(at))
            ++at;
    while (at < length && ClassOf(doc.At(at)) == CharClass::Blank)
        ++at;
    return at;
}

std::int64_t TMemo::WordLeft(std::int64_t at) const
{
    const ByteDocument& doc = *m_doc;
    auto endsBreak = [&](Offset i) { return i >= 2 && doc.At(i - 2) == '\r' && doc.At(i - 1) == '\n'; };
    if (at <= 0)
        return 0;
    if (endsBreak(at))
        return at - 2;
    while (at > 0 && ClassOf(doc.At(at - 1)) == CharClass::Blank)
        --at;
    if (at == 0 || endsBreak(at))
        return at;
    const CharClass c = ClassOf(doc.At(at - 1));
    while (at > 0 && ClassOf(doc.At(at - 1)) == c && !endsBreak(at))
        --at;
    return at;
}

void TMemo::TypeText(const QString& text)
{
    View& v = *m_view;
    const std::string bytes = TypedBytes(text);
    if (bytes.empty())
        return;
    if (v.overwrite && SelLength() == 0 && bytes.find('\n') == std::string::npos) {
        // The typed characters take the places of those under the caret up to the line's end:
        // a line break is never typed over.
        const Offset lineEnd = m_doc->LineEnd(m_doc->LineOfOffset(v.caret));
        v.anchor = v.caret + std::min(static_cast<Offset>(bytes.size()), lineEnd - v.caret);
        ReplaceSelection(bytes, ByteDocument::Undo::Overwrite);
        return;
    }
    ReplaceSelection(bytes, ByteDocument::Undo::Coalesce);
}

// --- clipboard ---

void TMemo::Copy() const
{
    if (SelLength() > 0)
        QGuiApplication::clipboard()->setText(cp1254::Decode(SelText()));
}

void TMemo::Cut()
{
    if (SelLength() == 0)
        return;
    Copy();
    ReplaceSelection({}, ByteDocument::Undo::Record);
}

void TMemo::Paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        ReplaceSelection(TypedBytes(text), ByteDocument::Undo::Record);
}

// --- mouse ---

std::int64_t TMemo::HitTest(QPoint point) const
{
    View& v = *m_view;
    const int height = v.glyphs->LineHeight();
    const int index = point.y() >= 0 ? point.y() / height : -1 - (-point.y() - 1) / height;
    ViewRow row = TopRow();
    v.layout.Move(row, index);
    return v.layout.OffsetAt(row, std::max<std::int64_t>(0, TextX(point.x())));
}

std::int64_t TMemo::ByteUnder(QPoint point) const
{
    View& v = *m_view;
    const int height = v.glyphs->LineHeight();
    ViewRow row = TopRow();
    v.layout.Move(row, point.y() >= 0 ? point.y() / height : -1 - (-point.y() - 1) / height);
    return v.layout.Seek(row, std::max<std::int64_t>(0, TextX(point.x()))).first;
}

std::pair<std::int64_t, std::int64_t> TMemo::WordAround(std::int64_t at) const
{
    const int line = m_doc->LineOfOffset(at);
    const Offset lineStart = m_doc->LineStart(line);
    const Offset lineEnd = m_doc->LineEnd(line);
    if (at >= lineEnd)
        return {lineEnd, lineEnd};
    const CharClass c = ClassOf(m_doc->At(at));
    Offset start = at;
    Offset end = at + 1;
    while (start > lineStart && ClassOf(m_doc->At(start - 1)) == c)
        --start;
    while (end < lineEnd && ClassOf(m_doc->At(end)) == c)
        ++end;
    return {start, end};
}

void TMemo::mousePressEvent(QMouseEvent* e)
{
    View& v = *m_view;
    m_doc->EndTypingGroup();
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QPoint point = e->position().toPoint();
    if (e->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        // The desktop's habit: the middle button pastes the text last selected anywhere.
        MoveCaret(HitTest(point), false);
        const QString text = clipboard->text(QClipboard::Selection);
        if (!text.isEmpty())
            ReplaceSelection(TypedBytes(text), ByteDocument::Undo::Record);
        e->accept();
        return;
    }
    if (e->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(e);
        return;
    }
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool triple = v.sinceDoubleClick.isValid() &&
                        v.sinceDoubleClick.elapsed() < QApplication::doubleClickInterval() &&
                        (point - v.doubleClickPoint).manhattanLength() < QApplication::startDragDistance();
    v.sinceDoubleClick.invalidate();
    v.dragPoint = point;
    e->accept();
    if (triple && !shift) {
        SelectLineAt(point);
        v.dragging = true;
        return;
    }
    if (!shift && SelLength() > 0) {
        const Offset under = ByteUnder(point);
        if (under >= SelStart() && under < SelStart() + SelLength()) {
            v.pressedInSelection = true;
            v.pressPoint = point;
            return;
        }
    }
    v.unit = View::Unit::Char;
    MoveCaret(HitTest(point), shift);
    v.dragging = true;
}

void TMemo::mouseMoveEvent(QMouseEvent* e)
{
    View& v = *m_view;
    if (v.pressedInSelection && (e->buttons() & Qt::LeftButton)) {
        if ((e->position().toPoint() - v.pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
            v.pressedInSelection = false;
            StartDrag();
        }
        e->accept();
        return;
    }
    if (!v.dragging || !(e->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(e);
        return;
    }
    v.dragPoint = e->position().toPoint();
    const QRect area = viewport()->rect();
    const bool outside = v.dragPoint.y() < 0 || v.dragPoint.y() >= area.height() ||
                         (!v.wrap && (v.dragPoint.x() < 0 || v.dragPoint.x() >= area.width()));
    if (outside) {
        if (!v.autoScroll.isActive()) {
            v.autoScroll.start();
            OnAutoScroll();
        }
    } else {
        v.autoScroll.stop();
        ExtendSelection(v.dragPoint);
    }
    e->accept();
}

void TMemo::ExtendSelection(QPoint point)
{
    View& v = *m_view;
    switch (v.unit) {
    case View::Unit::Char:
        MoveCaret(HitTest(point), true);
        return;
    case View::Unit::Word: {
        const auto [start, end] = WordAround(ByteUnder(point));
        if (start >= v.unitStart) {
            v.anchor = v.unitStart;
            MoveCaret(std::max(end, v.unitEnd), true);
        } else {
            v.anchor = v.unitEnd;
            MoveCaret(start, true);
        }
        return;
    }
    case View::Unit::Line: {
        const int line = m_doc->LineOfOffset(HitTest(point));
        if (m_doc->LineStart(line) >= v.unitStart) {
            v.anchor = v.unitStart;
            MoveCaret(std::max(m_doc->LineEnd(line), v.unitEnd), true);
        } else {
            v.anchor = v.unitEnd;
            MoveCaret(m_doc->LineStart(line), true);
        }
        return;
    }
    }
}

// While a drag holds the pointer beyond the edge, the view scrolls, faster the farther out.
void TMemo::OnAutoScroll()
{
    View& v = *m_view;
    const QRect area = viewport()->rect();
    const int height = v.glyphs->LineHeight();
    const QPoint p = v.dragPoint;
    if (p.y() < 0)
        ScrollRows(-(1 + (-p.y()) / height));
    else if (p.y() >= area.height())
        ScrollRows(1 + (p.y() - area.height()) / height);
    if (!v.wrap && (p.x() < 0 || p.x() >= area.width())) {
        const int step = std::max(8, std::abs(p.x() < 0 ? p.x() : p.x() - area.width()));
        v.xOffset = std::clamp<std::int64_t>(v.xOffset + (p.x() < 0 ? -step : step), 0, v.reach);
        UpdateScrollBars();
        viewport()->update();
    }
    const QPoint inside(std::clamp(p.x(), 0, std::max(0, area.width() - 1)),
                        std::clamp(p.y(), 0, std::max(0, area.height() - 1)));
    ExtendSelection(inside);
}

void TMemo::mouseReleaseEvent(QMouseEvent* e)
{
    View& v = *m_view;
    if (e->button() == Qt::LeftButton && v.pressedInSelection) {
        // A click inside the selection, without a drag: the caret goes there.
        v.pressedInSelection = false;
        v.unit = View::Unit::Char;
        MoveCaret(HitTest(e->position().toPoint()), false);
        e->accept();
        return;
    }
    if (e->button() == Qt::LeftButton && v.dragging) {
        v.dragging = false;
        v.autoScroll.stop();
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (SelLength() > 0 && clipboard->supportsSelection())
            clipboard->setText(cp1254::Decode(SelText()), QClipboard::Selection);
        e->accept();
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(e);
}

void TMemo::mouseDoubleClickEvent(QMouseEvent* e)
{
    View& v = *m_view;
    if (e->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(e);
        return;
    }
    v.pressedInSelection = false;
    SelectWordAt(e->position().toPoint());
    v.dragging = true;
    v.dragPoint = e->position().toPoint();
    v.sinceDoubleClick.start();
    v.doubleClickPoint = e->position().toPoint();
    e->accept();
}

void TMemo::SelectWordAt(QPoint point)
{
    View& v = *m_view;
    const auto [start, end] = WordAround(ByteUnder(point));
    v.unit = View::Unit::Word;
    v.unitStart = start;
    v.unitEnd = end;
    v.anchor = start;
    MoveCaret(end, start < end);
}

// The document's line, not the row of a wrapped one, and without its line break.
void TMemo::SelectLineAt(QPoint point)
{
    View& v = *m_view;
    const int line = m_doc->LineOfOffset(HitTest(point));
    v.unit = View::Unit::Line;
    v.unitStart = m_doc->LineStart(line);
    v.unitEnd = m_doc->LineEnd(line);
    v.anchor = v.unitStart;
    MoveCaret(v.unitEnd, true);
}

void TMemo::wheelEvent(QWheelEvent* e)
{
    View& v = *m_view;
    if (e->modifiers() & Qt::ControlModifier) {
        v.zoomRest += e->angleDelta().y();
        const int steps = v.zoomRest / 120;
        v.zoomRest -= steps * 120;
        if (steps != 0)
            emit ZoomRequested(steps);
        e->accept();
        return;
    }
    QPoint delta = e->angleDelta();
    if ((e->modifiers() & Qt::ShiftModifier) && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    if (delta.y() != 0) {
        v.wheelRest += delta.y() * QApplication::wheelScrollLines();
        const int rows = v.wheelRest / 120;
        v.wheelRest -= rows * 120;
        if (rows != 0)
            ScrollRows(-rows);
    }
    if (delta.x() != 0 && !v.wrap) {
        const std::int64_t step = std::int64_t{delta.x()} * 3 * std::max(1, v.glyphs->Advances().advance['x'] / 64) / 120;
        v.xOffset = std::clamp<std::int64_t>(v.xOffset - step, 0, v.reach);
        UpdateScrollBars();
        viewport()->update();
    }
    e->accept();
}

// --- input methods ---

void TMemo::inputMethodEvent(QInputMethodEvent* e)
{
    View& v = *m_view;
    if (e->replacementLength() > 0 && SelLength() == 0) {
        // Characters before the caret that the input method takes back: one byte each on a line.
        const Offset lineStart = m_doc->LineStart(m_doc->LineOfOffset(v.caret));
        const Offset start = std::max(lineStart, v.caret + e->replacementStart());
        v.anchor = start;
        v.caret = std::min(m_doc->LineEnd(m_doc->LineOfOffset(v.caret)), start + e->replacementLength());
    }
    if (!e->commitString().isEmpty())
        TypeText(e->commitString());
    else if (e->replacementLength() > 0)
        ReplaceSelection({}, ByteDocument::Undo::Coalesce);
    v.preedit = e->preeditString();
    v.preeditCursor = static_cast<int>(v.preedit.size());
    for (const QInputMethodEvent::Attribute& a : e->attributes())
        if (a.type == QInputMethodEvent::Cursor)
            v.preeditCursor = a.start;
    if (!v.preedit.isEmpty())
        EnsureCaretVisible();
    viewport()->update();
    e->accept();
}

QVariant TMemo::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const View& v = *m_view;
    // The input method sees the caret's line, at most a few hundred bytes either side.
    const int line = m_doc->LineOfOffset(v.caret);
    const Offset from = std::max(m_doc->LineStart(line), v.caret - 256);
    const Offset to = std::min(m_doc->LineEnd(line), v.caret + 256);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return CaretRect().translated(viewport()->geometry().topLeft());
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return static_cast<int>(v.caret - from);
    case Qt::ImAnchorPosition:
        return static_cast<int>(std::clamp(v.anchor, from, to) - from);
    case Qt::ImSurroundingText:
        return cp1254::Decode(m_doc->Slice(from, to - from));
    case Qt::ImCurrentSelection:
        return SelLength() <= (1 << 16) ? cp1254::Decode(SelText()) : QString();
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// --- focus ---

void TMemo::focusInEvent(QFocusEvent* e)
{
    m_view->popupOpen = false;
    RestartBlink();
    viewport()->update();
    QAbstractScrollArea::focusInEvent(e);
}

void TMemo::focusOutEvent(QFocusEvent* e)
{
    View& v = *m_view;
    v.popupOpen = e->reason() == Qt::PopupFocusReason;
    v.blink.stop();
    v.autoScroll.stop();
    v.dragging = false;
    v.pressedInSelection = false;
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(e);
}
