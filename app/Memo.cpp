#include "app/Memo.h"

#include "document/LineText.h"
#include "platform/Cp1254.h"
#include "platform/Error.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <climits>

namespace {

constexpr char16_t kNulPicture = 0x2400;
constexpr char16_t kCrPicture = 0x240D;
constexpr char16_t kLfPicture = 0x240A;
constexpr char16_t kParagraph = 0x2029;

// Typed or pasted characters the code page cannot hold become '?'.
QString Sanitized(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == u'\n' || ch == u'\r' || ch == kParagraph)
            continue;
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            text.replace(i, 2, u'?');
            continue;
        }
        if (cp1254::FromUnicode(ch) < 0)
            text[i] = u'?';
    }
    return text;
}

// The editor addresses characters with int positions; stay well inside them.
constexpr std::int64_t kCapacity = INT_MAX / 2;

} // namespace

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(false);
    connect(document(), &QTextDocument::contentsChanged, this, &TMemo::OnContentsChanged);
    connect(document(), &QTextDocument::undoAvailable, this, &TMemo::UndoStateChanged);
    connect(document(), &QTextDocument::redoAvailable, this, &TMemo::UndoStateChanged);
    // The selection is hidden while the editor does not have the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Base));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::Text));
    setPalette(p);
}

QString TMemo::ToDisplay(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = out.data();
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
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

std::string TMemo::FromDisplay(QStringView text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()) + static_cast<std::size_t>(text.size()) / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch < 0x80 && ch != u'\n') { // the code page's ASCII half maps to itself
            out += static_cast<char>(ch);
            continue;
        }
        switch (ch) {
        case kParagraph:
        case u'\n':
            out += "\r\n";
            break;
        case kCrPicture:
            out += '\r';
            break;
        case kLfPicture:
            out += '\n';
            break;
        case kNulPicture:
            out += '\0';
            break;
        default: {
            const int b = cp1254::FromUnicode(ch);
            out += b < 0 ? '?' : static_cast<char>(b);
        }
        }
    }
    return out;
}

std::string TMemo::Text() const { return FromDisplay(document()->toRawText()); }

void TMemo::SetText(std::string_view text) { SetTextRaw(NormalizeLineBreaks(text)); }

void TMemo::AdoptText(std::string&& text)
{
    if (HasLoneLineBreak(text))
        text = NormalizeLineBreaks(text);
    if (!NeedsReplacing(text))
        return;
    QString display = ToDisplay(text);
    std::string().swap(text); // the bytes are not needed while the editor builds its blocks
    ReplaceWholeText(display);
}

bool TMemo::NeedsReplacing(std::string_view text) const
{
    if (static_cast<std::int64_t>(text.size()) > kCapacity)
        throw QuorlexError("Text exceeds memo capacity");
    return !(static_cast<std::int64_t>(text.size()) == ByteLength() && Text() == text);
}

void TMemo::SetTextRaw(std::string_view text)
{
    if (NeedsReplacing(text))
        ReplaceWholeText(ToDisplay(text));
}

void TMemo::ReplaceWholeText(const QString& display)
{
    m_lastWasUndo = false;
    setPlainText(display); // caret to the start, undo history afresh
}

void TMemo::Clear()
{
    ++m_silent;
    setPlainText(QString());
    --m_silent;
}

void TMemo::OnContentsChanged()
{
    if (!m_undoing)
        m_lastWasUndo = false;
    if (m_silent == 0)
        emit Change();
}

std::int64_t TMemo::ByteLength() const
{
    const QTextDocument* doc = document();
    return static_cast<std::int64_t>(doc->characterCount()) - 1 + (doc->blockCount() - 1);
}

int TMemo::Count() const
{
    const QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

std::string TMemo::Get(int i) const
{
    if (i < 0 || i >= document()->blockCount())
        return {};
    return FromDisplay(document()->findBlockByNumber(i).text());
}

std::int64_t TMemo::LineStartByte(int block) const
{
    return static_cast<std::int64_t>(document()->findBlockByNumber(block).position()) + block;
}

void TMemo::Put(int i, std::string_view s)
{
    if (i < 0 || i >= document()->blockCount())
        return;
    const QTextBlock block = document()->findBlockByNumber(i);
    ReplaceRange(LineStartByte(i), static_cast<std::int64_t>(FromDisplay(block.text()).size()), s);
}

void TMemo::Insert(int i, std::string_view s)
{
    const int pieces = document()->blockCount();
    if (i >= 0 && i < pieces) {
        ReplaceRange(LineStartByte(i), 0, std::string(s) + "\r\n");
    } else if (i == pieces && i >= 1 && document()->findBlockByNumber(i - 1).length() > 1) {
        ReplaceRange(ByteLength(), 0, "\r\n" + std::string(s));
    }
}

void TMemo::Delete(int i)
{
    const int pieces = document()->blockCount();
    if (i < 0 || i >= pieces)
        return;
    const std::int64_t start = LineStartByte(i);
    const std::int64_t end = i + 1 < pieces ? LineStartByte(i + 1) : ByteLength();
    ReplaceRange(start, end - start, {});
}

std::int64_t TMemo::ByteOffsetOf(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    return static_cast<std::int64_t>(position) + (block.isValid() ? block.blockNumber() : 0);
}

int TMemo::BlockOfByte(std::int64_t byteOffset) const
{
    int lo = 0;
    int hi = document()->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (LineStartByte(mid) <= byteOffset)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

int TMemo::PositionOf(std::int64_t byteOffset) const
{
    if (byteOffset <= 0)
        return 0;
    const std::int64_t total = ByteLength();
    if (byteOffset >= total)
        return document()->characterCount() - 1;
    const int block = BlockOfByte(byteOffset);
    const QTextBlock b = document()->findBlockByNumber(block);
    std::int64_t pos = byteOffset - block;
    // Between the CR and the LF of a break: the caret goes behind the break.
    const std::int64_t lineEnd = b.position() + b.length() - 1;
    if (pos > lineEnd)
        pos = lineEnd + 1;
    return static_cast<int>(pos);
}

std::int64_t TMemo::SelStart() const
{
    return ByteOffsetOf(textCursor().selectionStart());
}

std::int64_t TMemo::SelLength() const
{
    const QTextCursor c = textCursor();
    return ByteOffsetOf(c.selectionEnd()) - ByteOffsetOf(c.selectionStart());
}

std::string TMemo::SelText() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return {};
    // Assembled from the blocks, not QTextCursor::selectedText, which swaps U+00A0 for blanks.
    const std::int64_t start = SelStart();
    const std::int64_t length = SelLength();
    std::string out;
    QTextBlock b = document()->findBlock(c.selectionStart());
    std::int64_t at = LineStartByte(b.blockNumber());
    while (b.isValid() && at < start + length) {
        std::string line = FromDisplay(b.text());
        if (b.next().isValid())
            line += "\r\n";
        const std::int64_t lineStart = at;
        const std::int64_t lineEnd = at + static_cast<std::int64_t>(line.size());
        const std::int64_t from = std::max(start, lineStart);
        const std::int64_t to = std::min(start + length, lineEnd);
        if (to > from)
            out.append(line, static_cast<std::size_t>(from - lineStart), static_cast<std::size_t>(to - from));
        at = lineEnd;
        b = b.next();
    }
    return out;
}

void TMemo::SetSelection(std::int64_t start, std::int64_t length)
{
    QTextCursor c = textCursor();
    c.setPosition(PositionOf(start));
    c.setPosition(PositionOf(start + length), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TMemo::ReplaceRange(std::int64_t start, std::int64_t length, std::string_view bytes, bool undoable)
{
    const std::int64_t total = ByteLength();
    start = std::clamp<std::int64_t>(start, 0, total);
    length = std::clamp<std::int64_t>(length, 0, total - start);
    if (total - length + static_cast<std::int64_t>(bytes.size()) > kCapacity)
        throw QuorlexError("Text exceeds memo capacity");
    if (length == 0 && bytes.empty())
        return;

    int from = PositionOf(start);
    int to = PositionOf(start + length);
    std::string middle(bytes);
    // A range that starts or ends inside a CR LF keeps the half of the break outside it.
    if (ByteOffsetOf(from) != start && from > 0) {
        --from;
        middle.insert(0, "\r");
    }
    if (ByteOffsetOf(to) != start + length) {
        // `to` is already behind the break; the LF half stays.
        middle += '\n';
    }
    // A lone CR before the range or a lone LF behind it may pair up with the new bytes.
    QTextDocument* doc = document();
    if (from > 0 && doc->characterAt(from - 1).unicode() == kCrPicture) {
        --from;
        middle.insert(0, "\r");
    }
    if (doc->characterAt(to).unicode() == kLfPicture) {
        ++to;
        middle += '\n';
    }

    QTextCursor c(doc);
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    const QString display = ToDisplay(middle);
    if (c.selectedText() == display && !display.contains(u'\n'))
        return;
    if (!undoable) {
        doc->setUndoRedoEnabled(false);
        c.insertText(display);
        doc->setUndoRedoEnabled(true);
    } else {
        c.insertText(display);
    }
}

void TMemo::UndoOneLevel()
{
    QTextDocument* doc = document();
    m_undoing = true;
    if (m_lastWasUndo && doc->isRedoAvailable()) {
        doc->redo();
        m_lastWasUndo = false;
    } else if (doc->isUndoAvailable()) {
        doc->undo();
        m_lastWasUndo = true;
    }
    m_undoing = false;
    emit UndoStateChanged();
}

bool TMemo::CanUndoOneLevel() const
{
    return document()->isUndoAvailable() || (m_lastWasUndo && document()->isRedoAvailable());
}

bool TMemo::event(QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            // Tab would move the focus, and the editor is the only control that takes it;
            // Ctrl+Tab types the tab character.
            if (k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ControlModifier))
                keyPressEvent(k);
            return true;
        }
    }
    return QPlainTextEdit::event(e);
}

void TMemo::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo)) {
        UndoOneLevel();
        return;
    }
    if (e->key() == Qt::Key_Tab && (e->modifiers() & Qt::ControlModifier)) {
        textCursor().insertText(QStringLiteral("\t"));
        return;
    }
    const QString typed = e->text();
    if (!typed.isEmpty()) {
        const QString safe = Sanitized(typed);
        if (safe != typed) {
            QKeyEvent copy(e->type(), e->key(), e->modifiers(), safe, e->isAutoRepeat(),
                           static_cast<ushort>(e->count()));
            QPlainTextEdit::keyPressEvent(&copy);
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(e);
}

QMimeData* TMemo::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(cp1254::Decode(SelText()));
    return data;
}

bool TMemo::canInsertFromMimeData(const QMimeData* source) const { return source->hasText(); }

void TMemo::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    textCursor().insertText(Sanitized(source->text()));
    ensureCursorVisible();
}
