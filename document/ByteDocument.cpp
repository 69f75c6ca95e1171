#include "document/ByteDocument.h"

#include "platform/Error.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

using Offset = ByteDocument::Offset;

[[noreturn]] void TooBig() { throw QuorlexError("Text exceeds memo capacity"); }

// Room kept free when the gap must grow: enough for a long run of typing, small beside the text.
std::size_t SpareGap(std::size_t textLength)
{
    return std::clamp<std::size_t>(textLength / 32, 4096, std::size_t{4} << 20);
}

} // namespace

ByteDocument::ByteDocument() = default;

ByteDocument::Offset ByteDocument::Length() const
{
    return static_cast<Offset>(m_buffer.size() - (m_gapEnd - m_gapStart));
}

int ByteDocument::Pieces() const { return m_lines.Size(); }

int ByteDocument::Count() const
{
    const int pieces = Pieces();
    return m_lines.At(pieces - 1) == Length() ? pieces - 1 : pieces;
}

ByteDocument::Offset ByteDocument::LineStart(int piece) const
{
    if (piece <= 0)
        return 0;
    if (piece >= Pieces())
        return Length();
    return m_lines.At(piece);
}

ByteDocument::Offset ByteDocument::LineEnd(int piece) const
{
    if (piece < 0)
        return 0;
    if (piece + 1 >= Pieces())
        return Length();
    return m_lines.At(piece + 1) - 2;
}

int ByteDocument::LineOfOffset(Offset offset) const { return m_lines.Find(offset); }

unsigned char ByteDocument::At(Offset offset) const
{
    if (offset < 0 || offset >= Length())
        return 0;
    return static_cast<unsigned char>(m_buffer[Physical(offset)]);
}

std::string ByteDocument::Slice(Offset start, Offset length) const
{
    std::string out;
    CopyTo(start, length, out);
    return out;
}

void ByteDocument::CopyTo(Offset start, Offset length, std::string& out) const
{
    const Offset total = Length();
    start = std::clamp<Offset>(start, 0, total);
    length = std::clamp<Offset>(length, 0, total - start);
    out.resize(static_cast<std::size_t>(length));
    const TextPieces pieces = Bytes();
    const auto s = static_cast<std::size_t>(start);
    const auto n = static_cast<std::size_t>(length);
    const std::size_t fromFirst = s < pieces.first.size() ? std::min(n, pieces.first.size() - s) : 0;
    if (fromFirst)
        std::memcpy(out.data(), pieces.first.data() + s, fromFirst);
    if (n > fromFirst)
        std::memcpy(out.data() + fromFirst, pieces.second.data() + (s + fromFirst - pieces.first.size()),
                    n - fromFirst);
}

std::string ByteDocument::Text() const { return Slice(0, Length()); }

TextPieces ByteDocument::Bytes() const
{
    return {std::string_view(m_buffer.data(), m_gapStart),
            std::string_view(m_buffer.data() + m_gapEnd, m_buffer.size() - m_gapEnd)};
}

std::string_view ByteDocument::Contiguous(Offset start, Offset length)
{
    const Offset total = Length();
    start = std::clamp<Offset>(start, 0, total);
    length = std::clamp<Offset>(length, 0, total - start);
    const auto s = static_cast<std::size_t>(start);
    const auto e = static_cast<std::size_t>(start + length);
    if (s < m_gapStart && e > m_gapStart)
        MoveGap(m_gapStart - s <= e - m_gapStart ? s : e); // the cheaper side
    return {m_buffer.data() + Physical(start), static_cast<std::size_t>(length)};
}

bool ByteDocument::Equals(std::string_view text) const
{
    if (static_cast<Offset>(text.size()) != Length())
        return false;
    const TextPieces pieces = Bytes();
    return text.substr(0, pieces.first.size()) == pieces.first && text.substr(pieces.first.size()) == pieces.second;
}

void ByteDocument::CheckRoom(Offset length, std::string_view bytes) const
{
    const auto added = static_cast<Offset>(bytes.size());
    if (Length() - length + added > kCapacity)
        TooBig();
    // Every new break needs two bytes, plus one made at each seam; count only when it could matter.
    const Offset headroom = Offset{INT_MAX} - Pieces();
    if (added / 2 + 2 > headroom && std::count(bytes.begin(), bytes.end(), '\n') + 2 > headroom)
        TooBig();
}

bool ByteDocument::Replace(Offset start, Offset length, std::string_view bytes, Undo undo)
{
    const Offset total = Length();
    start = std::clamp<Offset>(start, 0, total);
    length = std::clamp<Offset>(length, 0, total - start);
    CheckRoom(length, bytes);
    const auto added = static_cast<Offset>(bytes.size());
    if (added == 0 && length == 0)
        return false;
    if (added == length && RangeEquals(start, bytes))
        return false;

    // A view into our own bytes (from Contiguous or Bytes) would move under the edit.
    std::string own;
    if (!bytes.empty() && bytes.data() >= m_buffer.data() && bytes.data() < m_buffer.data() + m_buffer.size()) {
        own.assign(bytes);
        bytes = own;
    }
    std::string removed;
    const bool keep = undo != Undo::None && !(undo == Undo::Coalesce && ExtendsTyping(start, length, added));
    const DocumentEdit edit = Apply(start, length, bytes, keep ? &removed : nullptr);
    RememberUndo(start, length, added, std::move(removed), undo);
    Notify(edit);
    return true;
}

bool ByteDocument::RangeEquals(Offset start, std::string_view bytes) const
{
    const TextPieces pieces = Bytes();
    const auto s = static_cast<std::size_t>(start);
    const std::size_t firstSize = pieces.first.size();
    if (s >= firstSize)
        return pieces.second.substr(s - firstSize, bytes.size()) == bytes;
    const std::size_t inFirst = std::min(bytes.size(), firstSize - s);
    return pieces.first.substr(s, inFirst) == bytes.substr(0, inFirst) &&
           pieces.second.substr(0, bytes.size() - inFirst) == bytes.substr(inFirst);
}

DocumentEdit ByteDocument::Apply(Offset start, Offset length, std::string_view bytes, std::string* removed)
{
    DocumentEdit edit;
    edit.start = start;
    edit.removed = length;
    edit.added = static_cast<Offset>(bytes.size());
    edit.firstLine = m_lines.Find(start);
    // Breaks whose CR or LF is taken out, or that the new bytes come between, are gone: their
    // starts lie in (start, start + length + 1].
    const int from = edit.firstLine + 1;
    const int to = m_lines.Find(start + length + 1) + 1;
    edit.linesRemoved = to - from;
    if (removed)
        CopyTo(start, length, *removed);

    const auto s = static_cast<std::size_t>(start);
    if ((m_gapEnd - m_gapStart) + static_cast<std::size_t>(length) < bytes.size())
        GrowGap(bytes.size(), s);
    else
        MoveGap(s);
    m_gapEnd += static_cast<std::size_t>(length);
    if (!bytes.empty())
        std::memcpy(m_buffer.data() + m_gapStart, bytes.data(), bytes.size());
    m_gapStart += bytes.size();

    m_lines.Remove(from, to);
    m_lines.ShiftFrom(from, edit.added - length);
    const std::vector<Offset> fresh = BreaksAround(start, edit.added);
    m_lines.Insert(from, fresh);
    edit.linesAdded = static_cast<int>(fresh.size());
    return edit;
}

std::vector<Offset> ByteDocument::BreaksAround(Offset start, Offset added) const
{
    // After the edit: the line starts behind every CR LF whose CR lies in [start - 1, start + added - 1].
    std::vector<Offset> fresh;
    const Offset total = Length();
    const auto isBreak = [&](Offset cr) { return cr >= 0 && cr + 1 < total && At(cr) == '\r' && At(cr + 1) == '\n'; };
    if (isBreak(start - 1))
        fresh.push_back(start + 1);
    if (added == 0)
        return fresh;
    // The new bytes sit right before the gap, in one piece.
    const char* const p = m_buffer.data() + start;
    const char* const end = p + added;
    const char* q = p + 1;
    while (q < end) {
        const auto* lf = static_cast<const char*>(std::memchr(q, '\n', static_cast<std::size_t>(end - q)));
        if (!lf)
            break;
        if (lf[-1] == '\r')
            fresh.push_back(start + (lf + 1 - p));
        q = lf + 1;
    }
    if (isBreak(start + added - 1))
        fresh.push_back(start + added + 1);
    return fresh;
}

bool ByteDocument::ExtendsTyping(Offset start, Offset length, Offset added) const
{
    return m_undo.valid && m_undo.kind == UndoStep::Kind::Typing && length == 0 && added > 0 &&
           start == m_undo.start + m_undo.length;
}

void ByteDocument::RememberUndo(Offset start, Offset length, Offset added, std::string&& removed, Undo undo)
{
    using Kind = UndoStep::Kind;
    if (undo == Undo::None) {
        ForgetUndo();
        return;
    }
    if (undo == Undo::Coalesce) {
        if (ExtendsTyping(start, length, added)) {
            m_undo.length += added;
            return;
        }
        const bool erasing = m_undo.valid && m_undo.kind == Kind::Erasing && added == 0;
        if (erasing && start + length == m_undo.start) { // backspace
            m_undo.bytes.insert(0, removed);
            m_undo.start = start;
            return;
        }
        if (erasing && start == m_undo.start) { // delete
            m_undo.bytes += removed;
            return;
        }
    }
    m_undo.valid = true;
    m_undo.kind = undo == Undo::Record ? Kind::Plain : added > 0 ? Kind::Typing : Kind::Erasing;
    m_undo.start = start;
    m_undo.length = added;
    m_undo.bytes = std::move(removed);
}

void ByteDocument::Assign(std::string&& text)
{
    if (static_cast<Offset>(text.size()) > kCapacity)
        TooBig();
    std::vector<Offset> starts = LineStarts::Scan(text);
    if (starts.size() > static_cast<std::size_t>(INT_MAX))
        TooBig();
    DocumentEdit edit;
    edit.removed = Length();
    edit.added = static_cast<Offset>(text.size());
    edit.linesRemoved = Pieces() - 1;
    edit.linesAdded = static_cast<int>(starts.size()) - 1;
    edit.whole = true;

    m_buffer = std::move(text);
    m_gapStart = m_buffer.size();
    // Room the string already owns becomes the gap (within reason: resizing writes it).
    const std::size_t spare = std::min(m_buffer.capacity() - m_buffer.size(), SpareGap(m_buffer.size()));
    m_buffer.resize(m_buffer.size() + spare);
    m_gapEnd = m_buffer.size();
    m_lines.Reset(std::move(starts));
    ForgetUndo();
    Notify(edit);
}

void ByteDocument::Clear()
{
    ForgetUndo();
    DocumentEdit edit;
    edit.removed = Length();
    edit.linesRemoved = Pieces() - 1;
    edit.whole = true;
    std::string().swap(m_buffer);
    m_gapStart = m_gapEnd = 0;
    m_lines.Reset({});
    if (edit.removed != 0)
        Notify(edit);
}

bool ByteDocument::CanUndo() const { return m_undo.valid; }

void ByteDocument::ForgetUndo() { m_undo = UndoStep{}; }

std::pair<ByteDocument::Offset, ByteDocument::Offset> ByteDocument::UndoOnce()
{
    if (!m_undo.valid)
        return {-1, 0};
    CheckRoom(m_undo.length, m_undo.bytes);
    UndoStep step = std::move(m_undo);
    ForgetUndo();
    std::string removed;
    const DocumentEdit edit = Apply(step.start, step.length, step.bytes, &removed);
    const auto restored = static_cast<Offset>(step.bytes.size());
    m_undo.valid = true;
    m_undo.kind = UndoStep::Kind::Plain;
    m_undo.start = step.start;
    m_undo.length = restored;
    m_undo.bytes = std::move(removed);
    Notify(edit);
    return {step.start, restored};
}

int ByteDocument::AddListener(Listener listener)
{
    m_listeners.emplace_back(m_nextListener, std::move(listener));
    return m_nextListener++;
}

void ByteDocument::RemoveListener(int id)
{
    std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
}

void ByteDocument::Notify(const DocumentEdit& edit)
{
    // A copy, so that a listener may add or remove listeners.
    const auto listeners = m_listeners;
    for (const auto& entry : listeners)
        entry.second(edit);
}

void ByteDocument::MoveGap(std::size_t to)
{
    if (to == m_gapStart)
        return;
    char* b = m_buffer.data();
    if (to < m_gapStart) {
        const std::size_t n = m_gapStart - to;
        std::memmove(b + m_gapEnd - n, b + to, n);
        m_gapEnd -= n;
    } else {
        const std::size_t n = to - m_gapStart;
        std::memmove(b + m_gapStart, b + m_gapEnd, n);
        m_gapEnd += n;
    }
    m_gapStart = to;
}

void ByteDocument::GrowGap(std::size_t atLeast, std::size_t at)
{
    // One pass over the text into a larger string, with the gap already where it is wanted.
    const TextPieces pieces = Bytes();
    const std::size_t length = static_cast<std::size_t>(Length());
    const std::size_t gap = atLeast + SpareGap(length);
    std::string grown;
    grown.reserve(length + gap);
    const auto appendRange = [&](std::size_t from, std::size_t to) {
        if (from < pieces.first.size())
            grown.append(pieces.first.substr(from, std::min(to, pieces.first.size()) - from));
        if (to > pieces.first.size()) {
            const std::size_t f = std::max(from, pieces.first.size()) - pieces.first.size();
            grown.append(pieces.second.substr(f, to - pieces.first.size() - f));
        }
    };
    appendRange(0, at);
    grown.append(gap, '\0');
    appendRange(at, length);
    m_buffer = std::move(grown);
    m_gapStart = at;
    m_gapEnd = at + gap;
}
