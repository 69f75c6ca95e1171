#pragma once

#include <cstdint>
#include <optional>

// When the next recovery copy is due: `idleMs` after the last change, but no later than
// `longestMs` after the first change not yet copied, so steady typing is copied too.
// Times are milliseconds of any steady clock.
class RecoverySchedule {
public:
    explicit RecoverySchedule(std::int64_t idleMs = 2000, std::int64_t longestMs = 30000)
        : m_idleMs(idleMs), m_longestMs(longestMs) {}

    // A change at `now`; returns when the copy is due.
    std::int64_t Changed(std::int64_t now)
    {
        if (!m_firstPending)
            m_firstPending = now;
        m_lastChange = now;
        return *Due();
    }
    // The copy was taken (or is no longer wanted): the next change starts afresh.
    void Taken() { m_firstPending.reset(); }
    std::optional<std::int64_t> Due() const
    {
        if (!m_firstPending)
            return std::nullopt;
        const std::int64_t idle = m_lastChange + m_idleMs, longest = *m_firstPending + m_longestMs;
        return idle < longest ? idle : longest;
    }

private:
    std::int64_t m_idleMs, m_longestMs;
    std::optional<std::int64_t> m_firstPending;
    std::int64_t m_lastChange = 0;
};
