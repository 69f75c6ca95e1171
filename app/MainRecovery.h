#pragma once

#include "document/RecoverySchedule.h"
#include "platform/FileStamp.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstddef>
#include <memory>

class RecoverySlot;
class RecoveryWriter;
class TAppForm;

// The main window's recovery copy and what it knows of its file on disk. The copy is a
// snapshot of the document taken on the window's thread and written by a worker thread.
class TRecovery : public QObject {
    Q_OBJECT
public:
    explicit TRecovery(TAppForm& form);
    ~TRecovery() override;

    // The file this window's copies go to; empty when the recovery folder could not be made.
    QString FilePath() const;
    // Waits until the copy that is due has been handed over and written (or removed).
    void WaitIdle();
    // Copies written whole so far.
    int Written() const;
    // Delays of the schedule in milliseconds (tests shorten them).
    void SetDelays(std::int64_t idleMs, std::int64_t longestMs);

private:
    friend class TAppForm;
    void Changed();
    void TakeCopy();
    void Discard();
    // The copy came into being another way (an adopted one): nothing is due.
    void CopyInPlace();
    bool eventFilter(QObject* watched, QEvent* e) override;

    TAppForm& m_form;
    std::unique_ptr<RecoverySlot> m_slot;     // outlives the writer, which drains first
    std::unique_ptr<RecoveryWriter> m_writer; // null without a folder
    RecoverySchedule m_schedule;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::int64_t m_lastChangeMs = 0; // wall clock, for the offer's "last changed"
    bool m_copyExists = false;       // written, or on its way
    bool m_waitedForSpare = false;   // the due copy already waited once for its buffer
    static constexpr std::size_t kPagedInFrom = std::size_t{4} << 20;
    static constexpr int kSpareWaitMs = 300;

    FileStamp m_seen;     // last state the user was told of: activation asks when it differs
    bool m_asking = false;
};
