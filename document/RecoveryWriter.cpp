#include "document/RecoveryWriter.h"

#include "platform/Error.h"
#include "platform/PrivateFile.h"

#include <QFile>

#include <utility>

RecoveryWriter::RecoveryWriter(QString path, std::function<void(int error)> finished)
    : m_path(std::move(path)), m_finished(std::move(finished)), m_thread([this] { Run(); }) {}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryWriter::Write(RecoveryRecord record)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = Job{false, std::move(record)};
    }
    m_wake.notify_all();
}

void RecoveryWriter::Remove()
{
    std::optional<Job> dropped;
    {
        std::lock_guard lock(m_mutex);
        dropped.swap(m_pending); // a big snapshot is freed outside the lock
        m_pending = Job{true, {}};
    }
    m_wake.notify_all();
}

std::string RecoveryWriter::TakeSpare()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_spare, {});
}

void RecoveryWriter::Prepare(std::size_t bytes)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_spare.capacity() >= bytes)
            return;
        m_prepare = bytes;
    }
    m_wake.notify_all();
}

bool RecoveryWriter::HasSpare(std::size_t bytes) const
{
    std::lock_guard lock(m_mutex);
    return m_spare.capacity() >= bytes;
}

void RecoveryWriter::DropSpare()
{
    std::string dropped;
    {
        std::lock_guard lock(m_mutex);
        dropped.swap(m_spare);
        m_prepare = 0;
    }
}

void RecoveryWriter::WaitIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_pending && !m_busy; });
}

int RecoveryWriter::Written() const
{
    std::lock_guard lock(m_mutex);
    return m_written;
}

std::string RecoveryWriter::LastError() const
{
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

void RecoveryWriter::Run()
{
    for (;;) {
        Job job;
        std::size_t prepare = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_pending || m_stop || m_prepare; });
            if (!m_pending && m_stop)
                return; // stopping with nothing left to do
            if (m_pending) {
                job = std::move(*m_pending);
                m_pending.reset();
            } else {
                prepare = std::exchange(m_prepare, 0);
            }
            m_busy = true;
        }
        if (prepare) {
            // Touch every page now, here, rather than on the window's thread during the copy.
            std::string spare;
            spare.resize(prepare + prepare / 16);
            spare.clear();
            std::lock_guard lock(m_mutex);
            if (m_spare.capacity() < spare.capacity())
                m_spare = std::move(spare);
        } else {
            Execute(job);
            // The written snapshot's buffer serves the next one.
            job.record.text.clear();
            std::lock_guard lock(m_mutex);
            if (m_spare.capacity() < job.record.text.capacity())
                m_spare = std::move(job.record.text);
        }
        {
            std::lock_guard lock(m_mutex);
            m_busy = false;
        }
        m_idle.notify_all();
    }
}

void RecoveryWriter::Execute(Job& job)
{
    if (job.remove) {
        QFile::remove(m_path);
        return;
    }
    // Through a temporary file renamed over the old copy, flushed to the device first: a
    // crash, a power loss or a full disk in the middle leaves the previous copy whole.
    const std::string header = EncodeRecoveryHeader(job.record, job.record.text.size());
    int piece = 0;
    const int error = WritePrivateFile(
        m_path,
        [&]() -> std::string_view {
            switch (piece++) {
            case 0: return header;
            case 1: return job.record.text;
            default: return {};
            }
        },
        true);
    {
        std::lock_guard lock(m_mutex);
        if (error == 0) {
            ++m_written;
            m_lastError.clear();
        } else {
            m_lastError = SystemReason(error);
        }
    }
    if (m_finished)
        m_finished(error);
}
