#include "document/UndoHistory.h"

#include <algorithm>

void UndoHistory::SetKeepAll(bool on)
{
    if (on == m_keepAll)
        return;
    m_keepAll = on;
    m_redo.clear();
    if (!on)
        while (m_undo.size() > 1)
            m_undo.pop_front();
    // An undone one-level step becomes a plain step to undo again.
    m_undone = false;
    m_bytesHeld = 0;
    for (const Step& s : m_undo)
        m_bytesHeld += Held(s);
}

bool UndoHistory::CanRedo() const { return m_keepAll ? !m_redo.empty() : (m_undone && !m_undo.empty()); }

void UndoHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
    m_undone = false;
    m_bytesHeld = 0;
}

UndoHistory::Step* UndoHistory::Continuable()
{
    if (m_undo.empty() || (!m_keepAll && m_undone) || (m_keepAll && !m_redo.empty()))
        return nullptr;
    return &m_undo.back();
}

void UndoHistory::EndGroup()
{
    if (!m_keepAll || m_undo.empty() || !m_redo.empty())
        return;
    Step& last = m_undo.back();
    if (last.kind == Step::Kind::Typing || last.kind == Step::Kind::Erasing)
        last.kind = Step::Kind::Plain;
}

void UndoHistory::Record(Step&& step, Offset textLength)
{
    if (!m_keepAll)
        Clear();
    m_redo.clear();
    m_bytesHeld = 0;
    for (const Step& s : m_undo)
        m_bytesHeld += Held(s);
    m_bytesHeld += Held(step);
    m_undo.push_back(std::move(step));
    Trim(textLength);
}

void UndoHistory::Grew(std::ptrdiff_t bytes, Offset textLength)
{
    m_bytesHeld = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, static_cast<std::ptrdiff_t>(m_bytesHeld) + bytes));
    Trim(textLength);
}

UndoHistory::Step UndoHistory::TakeUndo()
{
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    m_bytesHeld -= std::min(m_bytesHeld, Held(step));
    return step;
}

void UndoHistory::PutUndone(Step&& inverse, Offset textLength)
{
    m_bytesHeld += Held(inverse);
    if (m_keepAll) {
        m_redo.push_back(std::move(inverse));
    } else {
        m_undo.push_back(std::move(inverse));
        m_undone = !m_undone;
    }
    Trim(textLength);
}

UndoHistory::Step UndoHistory::TakeRedo()
{
    if (!m_keepAll)
        return TakeUndo();
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    m_bytesHeld -= std::min(m_bytesHeld, Held(step));
    return step;
}

void UndoHistory::PutRedone(Step&& inverse, Offset textLength)
{
    if (!m_keepAll) {
        PutUndone(std::move(inverse), textLength);
        return;
    }
    m_bytesHeld += Held(inverse);
    m_undo.push_back(std::move(inverse));
    Trim(textLength);
}

void UndoHistory::Trim(Offset textLength)
{
    if (!m_keepAll)
        return;
    const std::size_t bound = std::max(m_minimumBound, 2 * static_cast<std::size_t>(std::max<Offset>(0, textLength)));
    // The oldest steps go first, from the far end of Undo. Redo is never cut: its far end is the
    // newest text, which walking back through the history must not lose. One step larger than
    // the bound is kept alone.
    while (m_bytesHeld > bound && !m_undo.empty() && m_undo.size() + m_redo.size() > 1) {
        m_bytesHeld -= std::min(m_bytesHeld, Held(m_undo.front()));
        m_undo.pop_front();
    }
}
