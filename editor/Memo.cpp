#include "editor/Memo.h"

#include "editor/MemoView.h"
#include "document/DocumentLines.h"
#include "platform/Cp1254.h"

#include <QAccessible>
#include <QApplication>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr char16_t kNulPicture = 0x2400;
constexpr char16_t kCrPicture = 0x240D;
constexpr char16_t kLfPicture = 0x240A;

} // namespace

TMemo::TMemo(ByteDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(&document), m_view(std::make_unique<View>(*m_doc))
{
    View& v = *m_view;
    v.pieces = m_doc->Pieces();
    v.listener = m_doc->AddListener([this](const DocumentEdit& edit) { OnDocumentEdit(edit); });
    // Undo in history mode gives back the selection a change was made with.
    m_doc->SetSelectionSource([this] { return std::pair<Offset, Offset>{SelStart(), SelLength()}; });

    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setAcceptDrops(true); // text to insert or move, files to open

    v.blink.setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
    connect(&v.blink, &QTimer::timeout, this, [this] { OnBlink(); });
    v.autoScroll.setInterval(40);
    connect(&v.autoScroll, &QTimer::timeout, this, [this] { OnAutoScroll(); });
    v.wrapIdle.setSingleShot(true);
    v.wrapIdle.setInterval(0);
    connect(&v.wrapIdle, &QTimer::timeout, this, [this] { OnWrapIdle(); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int a) { OnVerticalAction(a); });

    v.background = palette().color(QPalette::Base);
    ChooseColors();
    ApplyFont();
    SetWordWrap(false);
}

TMemo::~TMemo()
{
    m_doc->RemoveListener(m_view->listener);
    m_doc->SetSelectionSource({});
}

// --- the document's changes ---

void TMemo::OnDocumentEdit(const DocumentEdit& edit)
{
    View& v = *m_view;
    const int piecesBefore = v.pieces;
    v.pieces = m_doc->Pieces();
    v.layout.OnEdit(edit, piecesBefore);
    if (edit.whole) {
        v.caret = v.anchor = v.top = 0;
        v.xOffset = v.widest = 0;
        v.measuredTop = -1;
        v.goalX = -1;
    } else {
        const Offset end = edit.start + edit.removed;
        const Offset delta = edit.added - edit.removed;
        // Text put in at the caret goes before it, as it does at a text cursor.
        auto shift = [&](Offset p) {
            if (p < edit.start)
                return p;
            if (p >= end)
                return p + delta;
            return edit.start + edit.added;
        };
        v.caret = Legal(shift(v.caret));
        v.anchor = Legal(shift(v.anchor));
        if (v.top > edit.start)
            v.top = v.top >= end ? v.top + delta : edit.start;
        v.top = v.layout.RowStart(v.layout.RowOf(v.top));
    }
    v.pressedInSelection = false;
    emit ContentsChanged();
    AnnounceSelection();
    emit CaretMoved();
    UpdateScrollBars();
    viewport()->update();
}

// An offset inside the text and never between the CR and the LF of a break (it goes behind it).
std::int64_t TMemo::Legal(std::int64_t offset) const
{
    const Offset length = m_doc->Length();
    offset = std::clamp<Offset>(offset, 0, length);
    if (offset > 0 && offset < length && m_doc->At(offset - 1) == '\r' && m_doc->At(offset) == '\n')
        ++offset;
    return offset;
}

void TMemo::MoveCaret(std::int64_t caret, bool keepAnchor, bool keepGoal)
{
    View& v = *m_view;
    // A bare caret that moves (an arrow key held) repaints only where it was and where it goes.
    const bool bare = v.caret == v.anchor && v.preedit.isEmpty();
    const QRect before = bare ? CaretRect() : QRect();
    v.caret = Legal(caret);
    if (!keepAnchor)
        v.anchor = v.caret;
    if (!keepGoal)
        v.goalX = -1;
    AnnounceSelection();
    AnnounceCaret();
    emit CaretMoved();
    RestartBlink();
    updateMicroFocus();
    if (bare && v.caret == v.anchor) {
        viewport()->update(before.adjusted(-1, 0, 1, 0));
        viewport()->update(CaretRect().adjusted(-1, 0, 1, 0));
    } else {
        viewport()->update();
    }
}

// Announced when the selected range changes; a caret moving with nothing selected is no news.
void TMemo::AnnounceSelection()
{
    View& v = *m_view;
    const Offset start = SelStart();
    const Offset length = SelLength();
    if (length == v.shownLength && (length == 0 || start == v.shownStart))
        return;
    v.shownStart = start;
    v.shownLength = length;
    emit SelectionChanged();
}

void TMemo::ReplaceSelection(std::string_view bytes, ByteDocument::Undo undo)
{
    const Offset start = SelStart();
    const Offset length = SelLength();
    if (length == 0 && bytes.empty())
        return;
    // Screen readers are told what typing took away and put in (a small edit is all they read).
    const bool tell = QAccessible::isActive() && length <= 4096 && bytes.size() <= 4096;
    const std::string removed = tell ? m_doc->Slice(start, length) : std::string();
    m_doc->Replace(start, length, bytes, undo);
    if (tell)
        AnnounceTyping(start, removed, bytes);
    MoveCaret(start + static_cast<Offset>(bytes.size()), false);
    EnsureCaretVisible();
}

void TMemo::ReplaceRange(std::int64_t start, std::int64_t length, std::string_view bytes)
{
    View& v = *m_view;
    v.anchor = Legal(start);
    v.caret = Legal(start + std::max<Offset>(0, length));
    ReplaceSelection(bytes, ByteDocument::Undo::Record);
}

// --- selection ---

std::int64_t TMemo::SelStart() const { return std::min(m_view->caret, m_view->anchor); }
std::int64_t TMemo::SelLength() const { return std::abs(m_view->caret - m_view->anchor); }
std::string TMemo::SelText() const { return m_doc->Slice(SelStart(), SelLength()); }
std::int64_t TMemo::CaretOffset() const { return m_view->caret; }

void TMemo::SetSelection(std::int64_t start, std::int64_t length)
{
    m_view->anchor = Legal(start);
    MoveCaret(start + length, true);
    EnsureCaretVisible();
}

void TMemo::GoTo(std::int64_t offset)
{
    MoveCaret(offset, false);
    EnsureCaretVisible(true);
}

void TMemo::SelectAll()
{
    m_view->anchor = 0;
    MoveCaret(m_doc->Length(), true);
}

void TMemo::DeleteSelection() { ReplaceSelection({}, ByteDocument::Undo::Record); }

bool TMemo::Overwrite() const { return m_view->overwrite; }

void TMemo::SetOverwrite(bool on)
{
    m_view->overwrite = on;
    RestartBlink();
    viewport()->update();
    updateMicroFocus();
}

// --- view options ---

void TMemo::SetWordWrap(bool on)
{
    View& v = *m_view;
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    // While wrapping, a bar that came and went would change the width and so the rows.
    setVerticalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    if (on == v.wrap && (on || v.layout.WrapWidth() == 0))
        return;
    v.wrap = on;
    v.xOffset = 0;
    UpdateWrapWidth();
    UpdateScrollBars();
    viewport()->update();
}

bool TMemo::WordWrap() const { return m_view->wrap; }

bool TMemo::RowsPending() const { return m_view->wrap && m_view->layout.WrapPending(); }

// --- characters and bytes ---

QString TMemo::ToDisplay(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = out.data();
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r') {
            if (i + 1 < n && bytes[i + 1] == '\n') {
                *dst++ = QChar(u'\n');
                ++i;
            } else {
                *dst++ = QChar(kCrPicture);
            }
        } else if (b == '\n') {
            *dst++ = QChar(kLfPicture);
        } else if (b == 0) {
            *dst++ = QChar(kNulPicture);
        } else {
            *dst++ = QChar(cp1254::ToUnicode(b));
        }
    }
    out.truncate(dst - out.constData());
    return out;
}
