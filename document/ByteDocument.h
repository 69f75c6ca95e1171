#pragma once

#include "document/TextPieces.h"
#include "document/LineStarts.h"
#include "document/UndoHistory.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What one edit did, for whoever keeps caches of the text (the view, its wrap rows).
// Offsets and lines are those before the edit; a whole-text replacement has `whole` set.
struct DocumentEdit {
    std::int64_t start = 0;
    std::int64_t removed = 0;  // bytes taken out at `start`
    std::int64_t added = 0;    // bytes put in at `start`
    int firstLine = 0;         // piece that held `start`
    int linesRemoved = 0;      // line breaks (CR LF) taken out
    int linesAdded = 0;        // line breaks put in
    bool whole = false;
};

// The document's text: Windows-1254 bytes in a gap buffer, with the start of every line kept
// up to date by each edit. Only a CR LF pair breaks a line; a lone CR or LF is a character.
// Offsets are byte offsets (a CR LF counts two). No widget and no Qt in here.
//
// Undo keeps each undoable edit as its inverse (where, and the bytes it took away), never as a
// copy of the whole text. By default one level: Undo applies the inverse and keeps the inverse
// of that, so a second Undo redoes, and edits that are not undoable forget it. With the whole
// history kept, commands are recorded too (a whole-text replacement keeps the old text, moved,
// not copied) and Redo walks forward again.
class ByteDocument {
public:
    using Offset = std::int64_t;
    // More than this and a text is refused with "Text exceeds memo capacity".
    static constexpr Offset kCapacity = Offset{1} << 32;

    enum class Undo {
        None,      // forgets the undo step (commands the undo history does not record)
        Record,    // becomes the undo step
        Coalesce,  // typing: joins the undo step when it continues it (next to it, same kind)
        Overwrite, // typing over the bytes at the caret: joins the typing step it continues
        History,   // a command: recorded when the whole history is kept, forgets the step otherwise
    };

    ByteDocument();

    // --- reading ---
    Offset Length() const;               // O(1)
    int Pieces() const;                  // CR LF count + 1; O(1)
    // The line view's Count: the pieces, less one when the last is empty.
    int Count() const;
    Offset LineStart(int piece) const;   // piece in [0, Pieces()); O(1) amortised
    Offset LineEnd(int piece) const;     // before its CR LF (or the text's end)
    int LineOfOffset(Offset offset) const; // piece holding the offset; O(log n)
    unsigned char At(Offset offset) const;
    std::string Slice(Offset start, Offset length) const; // clamped to the text
    // Copies [start, start + length) into `out` (resized); clamped.
    void CopyTo(Offset start, Offset length, std::string& out) const;
    std::string Text() const;
    // The bytes as two pieces without copying; valid until the next edit.
    TextPieces Bytes() const;
    // The bytes of [start, start + length) as one contiguous view: moves the gap out of the way
    // if needed (hence non-const); valid until the next edit.
    std::string_view Contiguous(Offset start, Offset length);

    // --- editing (each raises the listeners once when it changes something) ---
    // Replaces [start, start + length) by `bytes` (the range is clamped). Throws QuorlexError
    // "Text exceeds memo capacity" when the result would be too big (nothing changes then).
    // Returns false when nothing changed (empty range and no bytes, or the range already holds
    // exactly `bytes`): nothing is raised then and the undo step stays.
    bool Replace(Offset start, Offset length, std::string_view bytes, Undo undo = Undo::None);
    // Takes over a whole new text (no copy). Raises even when equal: callers that must not raise
    // on an equal text compare first (Equals). Forgets the undo step, except that Undo::History
    // with the whole history kept records the old text as one step.
    void Assign(std::string&& text, Undo undo = Undo::None);
    // As Assign, with the text's line starts (LineStarts::Scan's) already found: a read that
    // scanned the bytes on their way in saves a second walk over a big text.
    void Assign(std::string&& text, std::vector<Offset>&& starts, Undo undo = Undo::None);
    // Empties the document (and gives its memory back); forgets the undo step. Raises only when
    // the text was not empty.
    void Clear();
    bool Equals(std::string_view text) const;

    // --- undo and redo ---
    bool CanUndo() const;
    bool CanRedo() const;
    // What an Undo or Redo did: the range that now holds the restored bytes (start is -1 when
    // there was nothing to do) and the selection to show.
    struct Undone {
        Offset start = -1;
        Offset length = 0;
        Offset selStart = 0;
        Offset selLength = 0;
    };
    Undone ApplyUndo();
    // One level: what a second Undo would do.
    Undone ApplyRedo();
    // Undo, as the range now holding the restored bytes (start, length), or {-1, 0}.
    std::pair<Offset, Offset> UndoOnce();
    void ForgetUndo();
    // Off (the default): one level. On: every change, within a bound of memory.
    void SetKeepHistory(bool on) { m_history.SetKeepAll(on); }
    bool KeepsHistory() const { return m_history.KeepsAll(); }
    // Where the history's steps are bounded (for tests that need the oldest steps dropped).
    void SetHistoryMinimumBound(std::size_t bytes) { m_history.SetMinimumBound(bytes); }
    std::size_t HistoryBytes() const { return m_history.BytesHeld(); }
    // The caret was moved by the user: typing from here on is a new undo step.
    void EndTypingGroup() { m_history.EndGroup(); }
    // The selection (start, length) an edit is made with, remembered for Undo in history mode.
    void SetSelectionSource(std::function<std::pair<Offset, Offset>()> source) { m_selection = std::move(source); }

    // --- listeners: called after every change, in the order added ---
    using Listener = std::function<void(const DocumentEdit&)>;
    int AddListener(Listener listener);
    void RemoveListener(int id);

private:
    // Throws when taking out `length` bytes and putting in `bytes` would overflow the text or
    // its line numbers.
    void CheckRoom(Offset length, std::string_view bytes) const;
    // The edit itself, without undo bookkeeping; copies the bytes it takes out into `removed`
    // when given one. [start, start + length) must lie in the text.
    DocumentEdit Apply(Offset start, Offset length, std::string_view bytes, std::string* removed);
    bool RangeEquals(Offset start, std::string_view bytes) const; // the range lies in the text
    std::vector<Offset> BreaksAround(Offset start, Offset added) const;
    // Typing that continues the undo step needs no copy of anything.
    bool ExtendsTyping(Offset start, Offset length, Offset added) const;
    bool Keeps(Undo undo) const;
    void RememberUndo(Offset start, Offset length, Offset added, std::string&& removed, Undo undo,
                      std::pair<Offset, Offset> selection);
    // Applies a step taken from the history and gives its inverse.
    UndoHistory::Step ApplyStep(UndoHistory::Step&& step, DocumentEdit& edit);
    // Applies a step taken for Undo (or Redo) and files its inverse where it belongs.
    Undone Walk(UndoHistory::Step&& step, bool undo);
    std::pair<Offset, Offset> CurrentSelection() const;
    // Swaps in a whole text and its line starts; gives the old text.
    std::string SwapText(std::string&& text, std::vector<Offset>&& starts, DocumentEdit& edit);
    void Notify(const DocumentEdit& edit);
    void MoveGap(std::size_t to);
    // Leaves a gap of at least `atLeast` bytes at offset `at`.
    void GrowGap(std::size_t atLeast, std::size_t at);
    std::size_t Physical(Offset offset) const
    {
        const auto u = static_cast<std::size_t>(offset);
        return u < m_gapStart ? u : u + (m_gapEnd - m_gapStart);
    }

    std::string m_buffer; // a std::string so that Assign can take a text over without copying
    std::size_t m_gapStart = 0;
    std::size_t m_gapEnd = 0;
    LineStarts m_lines;
    UndoHistory m_history;
    std::function<std::pair<Offset, Offset>()> m_selection;
    std::vector<std::pair<int, Listener>> m_listeners;
    int m_nextListener = 1;
};
