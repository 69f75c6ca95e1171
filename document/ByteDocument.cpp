#include "document/ByteDocument.h"

#include "platform/Error.h"
#include "platform/MemoryPages.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

using Offset = ByteDocument::Offset;

[[noreturn]] void TooBig() { throw QuorlexError(Translated("Document", QT_TRANSLATE_NOOP("Document", "Text exceeds memo capacity"))); }

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
    const bool keep = Keeps(undo) && !(undo == Undo::Coalesce && ExtendsTyping(start, length, added));
    const auto selection = Keeps(undo) ? CurrentSelection() : std::pair<Offset, Offset>{};
    const DocumentEdit edit = Apply(start, length, bytes, keep ? &removed : nullptr);
    RememberUndo(start, length, added, std::move(removed), undo, selection);
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

bool ByteDocument::Keeps(Undo undo) const
{
    return undo == Undo::Record || undo == Undo::Coalesce || undo == Undo::Overwrite ||
           (undo == Undo::History && m_history.KeepsAll());
}

std::pair<Offset, Offset> ByteDocument::CurrentSelection() const
{
    return m_selection ? m_selection() : std::pair<Offset, Offset>{};
}

bool ByteDocument::ExtendsTyping(Offset start, Offset length, Offset added) const
{
    auto* step = const_cast<UndoHistory&>(m_history).Continuable();
    if (!step || step->kind != UndoHistory::Step::Kind::Typing || length != 0 || added <= 0 ||
        start != step->start + step->length)
        return false;
    // With the whole history kept, a pause starts a new step, as in other editors.
    return !m_history.KeepsAll() || UndoHistory::Clock::now() - step->when < UndoHistory::kTypingPause;
}

void ByteDocument::RememberUndo(Offset start, Offset length, Offset added, std::string&& removed, Undo undo,
                                std::pair<Offset, Offset> selection)
{
    using Kind = UndoHistory::Step::Kind;
    if (!Keeps(undo)) {
        ForgetUndo();
        return;
    }
    const auto now = UndoHistory::Clock::now();
    // What typing over text took away follows the bytes the step already gives back, so one
    // Undo restores the whole run.
    if (undo == Undo::Overwrite && ExtendsTyping(start, 0, added)) {
        UndoHistory::Step* step = m_history.Continuable();
        step->length += added;
        step->bytes += removed;
        step->when = now;
        m_history.Grew(static_cast<std::ptrdiff_t>(removed.size()), Length());
        return;
    }
    if (undo == Undo::Coalesce) {
        if (ExtendsTyping(start, length, added)) {
            UndoHistory::Step* step = m_history.Continuable();
            step->length += added;
            step->when = now;
            return;
        }
        UndoHistory::Step* step = m_history.Continuable();
        const bool erasing = step && step->kind == Kind::Erasing && added == 0 &&
                             (!m_history.KeepsAll() || now - step->when < UndoHistory::kTypingPause);
        if (erasing && start + length == step->start) { // backspace
            step->bytes.insert(0, removed);
            step->start = start;
            step->when = now;
            m_history.Grew(static_cast<std::ptrdiff_t>(removed.size()), Length());
            return;
        }
        if (erasing && start == step->start) { // delete
            step->bytes += removed;
            step->when = now;
            m_history.Grew(static_cast<std::ptrdiff_t>(removed.size()), Length());
            return;
        }
    }
    UndoHistory::Step step;
    const bool typed = undo == Undo::Coalesce || undo == Undo::Overwrite;
    step.kind = typed ? (added > 0 ? Kind::Typing : Kind::Erasing) : Kind::Plain;
    step.start = start;
    step.length = added;
    step.bytes = std::move(removed);
    step.selStart = selection.first;
    step.selLength = selection.second;
    step.when = now;
    m_history.Record(std::move(step), Length());
}

void ByteDocument::Assign(std::string&& text, Undo undo)
{
    if (static_cast<Offset>(text.size()) > kCapacity)
        TooBig();
    std::vector<Offset> starts = LineStarts::Scan(text);
    Assign(std::move(text), std::move(starts), undo);
}

void ByteDocument::Assign(std::string&& text, std::vector<Offset>&& starts, Undo undo)
{
    if (static_cast<Offset>(text.size()) > kCapacity || starts.size() > static_cast<std::size_t>(INT_MAX))
        TooBig();
    DocumentEdit edit;
    const bool keep = undo == Undo::History && m_history.KeepsAll();
    const auto selection = keep ? CurrentSelection() : std::pair<Offset, Offset>{};
    std::string old = SwapText(std::move(text), std::move(starts), edit);
    if (keep) {
        UndoHistory::Step step;
        step.kind = UndoHistory::Step::Kind::Whole;
        step.length = Length();
        step.bytes = std::move(old);
        step.selStart = selection.first;
        step.selLength = selection.second;
        step.when = UndoHistory::Clock::now();
        m_history.Record(std::move(step), Length());
    } else {
        ForgetUndo();
    }
    Notify(edit);
}

std::string ByteDocument::SwapText(std::string&& text, std::vector<Offset>&& starts, DocumentEdit& edit)
{
    edit = DocumentEdit{};
    edit.removed = Length();
    edit.added = static_cast<Offset>(text.size());
    edit.linesRemoved = Pieces() - 1;
    edit.linesAdded = static_cast<int>(starts.size()) - 1;
    edit.whole = true;

    // The old text without its gap, moved out rather than copied.
    MoveGap(static_cast<std::size_t>(Length()));
    std::string old = std::move(m_buffer);
    old.resize(m_gapStart);
    m_buffer = std::move(text);
    m_gapStart = m_buffer.size();
    // Room the string already owns becomes the gap (within reason: resizing writes it).
    const std::size_t spare = std::min(m_buffer.capacity() - m_buffer.size(), SpareGap(m_buffer.size()));
    m_buffer.resize(m_buffer.size() + spare);
    m_gapEnd = m_buffer.size();
    m_lines.Reset(std::move(starts));
    return old;
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

bool ByteDocument::CanUndo() const { return m_history.CanUndo(); }

bool ByteDocument::CanRedo() const { return m_history.CanRedo(); }

void ByteDocument::ForgetUndo() { m_history.Clear(); }

UndoHistory::Step ByteDocument::ApplyStep(UndoHistory::Step&& step, DocumentEdit& edit)
{
    UndoHistory::Step inverse;
    const auto selection = CurrentSelection();
    inverse.selStart = selection.first;
    inverse.selLength = selection.second;
    inverse.kind = step.kind == UndoHistory::Step::Kind::Whole ? step.kind : UndoHistory::Step::Kind::Plain;
    inverse.start = step.start;
    inverse.length = static_cast<Offset>(step.bytes.size());
    inverse.when = UndoHistory::Clock::now();
    if (step.kind == UndoHistory::Step::Kind::Whole) {
        std::vector<Offset> starts = LineStarts::Scan(step.bytes);
        inverse.bytes = SwapText(std::move(step.bytes), std::move(starts), edit);
    } else {
        CheckRoom(step.length, step.bytes);
        edit = Apply(step.start, step.length, step.bytes, &inverse.bytes);
    }
    return inverse;
}

ByteDocument::Undone ByteDocument::ApplyUndo()
{
    if (!m_history.CanUndo())
        return {};
    return Walk(m_history.TakeUndo(), true);
}

ByteDocument::Undone ByteDocument::ApplyRedo()
{
    if (!m_history.CanRedo())
        return {};
    return Walk(m_history.TakeRedo(), false);
}

ByteDocument::Undone ByteDocument::Walk(UndoHistory::Step&& step, bool undo)
{
    Undone done{step.start, static_cast<Offset>(step.bytes.size()), step.selStart, step.selLength};
    DocumentEdit edit;
    // Applied first: the bound goes by the text's length after the step.
    UndoHistory::Step inverse = ApplyStep(std::move(step), edit);
    if (undo)
        m_history.PutUndone(std::move(inverse), Length());
    else
        m_history.PutRedone(std::move(inverse), Length());
    // One level keeps its old habit: the caret behind the restored bytes.
    if (!m_history.KeepsAll()) {
        done.selStart = done.start + done.length;
        done.selLength = 0;
    }
    Notify(edit);
    return done;
}

std::pair<ByteDocument::Offset, ByteDocument::Offset> ByteDocument::UndoOnce()
{
    const Undone done = ApplyUndo();
    return {done.start, done.length};
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
    // The first touch of fresh memory is most of this copy's cost (the first key after a
    // whole-document command pays it): in huge pages it is a fraction.
    memorypages::AdviseHuge(grown.data(), grown.capacity());
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
