#pragma once

#include "document/RecoveryFile.h"

#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Writes recovery copies on a thread of its own, so the window never waits for the disk.
// One job runs at a time; a job handed over while another runs replaces any that still
// waits, so only the newest snapshot is written. Removal goes through the same queue, so a
// copy still being written cannot reappear after it.
class RecoveryWriter {
public:
    // `finished` hears, on the writer's thread, how each copy's write went: 0 or the errno.
    explicit RecoveryWriter(QString path, std::function<void(int error)> finished = {});
    // Finishes the job that runs and the one that waits.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    const QString& Path() const { return m_path; }
    void Write(RecoveryRecord record);
    void Remove();
    // A buffer for the next snapshot whose pages the worker has already touched, so that the
    // copy on the window's thread costs a memcpy and not a page fault every 4 KB (a 50 MB
    // document: about 8 ms instead of 40). Empty when none is ready yet.
    std::string TakeSpare();
    // Asks the worker to get a spare of at least `bytes` ready, off the window's thread.
    void Prepare(std::size_t bytes);
    bool HasSpare(std::size_t bytes) const;
    void DropSpare();
    // Blocks until no job waits or runs.
    void WaitIdle();
    // Copies written whole so far, and the system's reason of the last failure (empty: none
    // since the last success).
    int Written() const;
    std::string LastError() const;

private:
    struct Job {
        bool remove = false;
        RecoveryRecord record;
    };
    void Run();
    void Execute(Job& job);

    const QString m_path;
    const std::function<void(int)> m_finished;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Job> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    std::string m_spare;
    std::size_t m_prepare = 0; // a spare of this size is wanted
    int m_written = 0;
    std::string m_lastError;
    std::thread m_thread; // last: starts once everything above is ready
};
