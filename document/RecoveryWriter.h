#pragma once

#include "document/RecoveryJournal.h"
#include "document/RecoverySchedule.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Writes a recovery journal on a thread of its own, so the window never waits for the disk: the
// window hands over small edit records and the slices of a snapshot, in order, and the writer
// appends them. Beside the journal at `path` a second one (the next) may be filled with a
// snapshot; Commit puts it in the journal's place, flushed to the device first, so a crash at
// any moment leaves one whole journal. The journal's appends reach the device a moment after
// they stop (the schedule's delays), so typing costs no flush per key.
class RecoveryWriter {
public:
    // `finished` hears, on the writer's thread, how each step that brings the file up to date
    // went: 0 or the errno of a failure.
    explicit RecoveryWriter(QString path, std::function<void(int error)> finished = {});
    // Finishes what was handed over, flushes it, and leaves the files where they are.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // The size of a snapshot's slices: TakeBuffer's buffers hold one.
    static constexpr std::size_t kSliceBytes = std::size_t{512} << 10;

    const QString& Path() const { return m_path; }
    // A new journal at the path, starting with these bytes (EncodeJournalStart).
    void Start(std::string start);
    void Append(const JournalEdit& edit, std::string added);
    void AppendRecord(std::string record);
    // The next journal: begun beside the path, filled, then put in its place or dropped.
    void BeginNext(std::string start);
    void AppendNext(const JournalEdit& edit, std::string added);
    void CommitNext();
    void AbortNext();
    // Both files go; whatever was waiting to be written is dropped.
    void Remove();
    // Brings the appends to the device now rather than when the schedule says.
    void Flush();
    void SetDelays(std::int64_t idleMs, std::int64_t longestMs);
    // A buffer for the next slice of a snapshot, from those already written: its pages are
    // in memory, so the copy into it costs a memcpy and not a page fault every 4 KB. Empty
    // when there is none.
    std::string TakeBuffer();
    // Bytes handed over and not yet written, so the window can wait before it hands more.
    std::size_t Queued() const;
    void WaitQueuedBelow(std::size_t bytes);
    // Blocks until nothing waits or runs.
    void WaitIdle();
    // Times the journal was brought up to date on the device (a flush or a commit), and the
    // system's reason of the last failure (empty: none since the last success).
    int Written() const;
    std::string LastError() const;

private:
    enum class Op { Start, Append, Record, BeginNext, AppendNext, CommitNext, AbortNext, Remove, Flush };
    struct Job {
        Op op;
        std::string bytes; // a journal's start, a record, or an edit's added bytes
        JournalEdit edit;
    };
    struct Target {
        int fd = -1;
        bool broken = false; // a write failed: nothing more goes in until it is begun anew
        QByteArray temporary; // the next's name until it is committed
    };
    void Push(Job job);
    void Run();
    void Execute(Job& job);
    bool Write(Target& target, std::string_view a, std::string_view b = {}, std::string_view c = {});
    int Begin(Target& target, std::string_view start);
    void Drop(Target& target, bool unlink);
    void Sync();
    void DropBuffers();
    void Report(int error);

    const QString m_path;
    const QByteArray m_native;
    const std::function<void(int)> m_finished;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    std::size_t m_queued = 0;
    std::vector<std::string> m_buffers; // written slices, for TakeBuffer
    std::size_t m_buffered = 0;
    bool m_busy = false;
    bool m_stop = false;
    RecoverySchedule m_schedule; // when the appends are due on the device
    std::chrono::steady_clock::time_point m_epoch = std::chrono::steady_clock::now();
    int m_written = 0;
    std::string m_lastError;
    // The writer's thread alone touches these.
    Target m_main, m_next;
    bool m_dirty = false; // appends not yet flushed
    bool m_reported = false; // the failure of a broken target was said once
    std::thread m_thread; // last: starts once everything above is ready
};
