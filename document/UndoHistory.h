#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

// The steps Undo and Redo walk through. A step is kept as what must be put back: the bytes the
// text now holds at `start` (`length` of them) are to be replaced by `bytes`. Applying a step
// gives its inverse in the same shape, so a step never holds more than one side of a change.
//
// Two modes. One level (the default): a single step; undoing turns it into its inverse, so a
// second Undo redoes. History: every step, Redo walking forward again, the oldest steps
// dropped once the bytes they hold pass the bound.
class UndoHistory {
public:
    using Offset = std::int64_t;
    using Clock = std::chrono::steady_clock;

    struct Step {
        enum class Kind {
            Plain,    // ends a group: nothing joins it
            Typing,   // typed bytes: the next typed byte right behind them joins
            Erasing,  // Backspace and Delete runs
            Whole,    // the whole text: `bytes` is the other text, swapped in whole
        };
        Kind kind = Kind::Plain;
        Offset start = 0;
        Offset length = 0;
        std::string bytes;
        // The selection when the change was made (start, length), given back by Undo.
        Offset selStart = 0;
        Offset selLength = 0;
        Clock::time_point when{};
    };

    bool KeepsAll() const { return m_keepAll; }
    // Switching keeps what is there when it can: on keeps the one step, off keeps the newest.
    void SetKeepAll(bool on);
    // The history holds at most max(minimum, 2 x the text's length) bytes in its steps; what
    // Redo would bring back is kept even past that.
    void SetMinimumBound(std::size_t bytes) { m_minimumBound = bytes; }
    std::size_t BytesHeld() const { return m_bytesHeld; }

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const;
    void Clear();

    // The newest step, for continuing it (typing); null when there is none or it was undone in
    // one-level mode.
    Step* Continuable();
    // The caret moved away: the next typing starts a step of its own (history mode only; one
    // level keeps its old habit of joining any typing that continues the last).
    void EndGroup();
    // A change just made; what could be redone is gone. `textLength` sets the bound.
    void Record(Step&& step, Offset textLength);
    // Bytes added to the newest step by a continuation.
    void Grew(std::ptrdiff_t bytes, Offset textLength);

    // The step to apply for Undo (taken out), and where its inverse goes once applied.
    Step TakeUndo();
    void PutUndone(Step&& inverse, Offset textLength);
    Step TakeRedo();
    void PutRedone(Step&& inverse, Offset textLength);

    // Typing after a pause this long starts a new step (history mode only).
    static constexpr std::chrono::milliseconds kTypingPause{2000};

private:
    void Trim(Offset textLength);
    static std::size_t Held(const Step& step) { return step.bytes.capacity(); }

    bool m_keepAll = false;
    // One-level mode: the step in m_undo is the inverse of an Undo, so Redo may apply it.
    bool m_undone = false;
    std::deque<Step> m_undo; // newest at the back
    std::deque<Step> m_redo; // next to redo at the back
    std::size_t m_bytesHeld = 0;
    std::size_t m_minimumBound = std::size_t{64} << 20;
};
