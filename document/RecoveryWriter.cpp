#include "document/RecoveryWriter.h"

#include "platform/Error.h"
#include "platform/NativePath.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <sys/uio.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr std::size_t kBuffersAtMost = std::size_t{16} << 20;
} // namespace

RecoveryWriter::RecoveryWriter(QString path, std::function<void(int error)> finished)
    : m_path(std::move(path)), m_native(NativePath(m_path)), m_finished(std::move(finished)),
      m_thread([this] { Run(); }) {}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryWriter::Push(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        m_queued += job.bytes.size();
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void RecoveryWriter::Start(std::string start) { Push({Op::Start, std::move(start), {}}); }
void RecoveryWriter::Append(const JournalEdit& edit, std::string added) { Push({Op::Append, std::move(added), edit}); }
void RecoveryWriter::AppendRecord(std::string record) { Push({Op::Record, std::move(record), {}}); }
void RecoveryWriter::BeginNext(std::string start) { Push({Op::BeginNext, std::move(start), {}}); }
void RecoveryWriter::AppendNext(const JournalEdit& edit, std::string added)
{
    Push({Op::AppendNext, std::move(added), edit});
}
void RecoveryWriter::CommitNext() { Push({Op::CommitNext, {}, {}}); }
void RecoveryWriter::AbortNext() { Push({Op::AbortNext, {}, {}}); }
void RecoveryWriter::Flush() { Push({Op::Flush, {}, {}}); }

void RecoveryWriter::Remove()
{
    std::deque<Job> dropped; // big slices are freed outside the lock
    {
        std::lock_guard lock(m_mutex);
        dropped.swap(m_jobs);
        m_queued = 0;
        m_jobs.push_back({Op::Remove, {}, {}});
    }
    m_wake.notify_all();
}

std::string RecoveryWriter::TakeBuffer()
{
    std::lock_guard lock(m_mutex);
    if (m_buffers.empty())
        return {};
    std::string buffer = std::move(m_buffers.back());
    m_buffers.pop_back();
    m_buffered -= buffer.capacity();
    return buffer;
}

void RecoveryWriter::SetDelays(std::int64_t idleMs, std::int64_t longestMs)
{
    std::lock_guard lock(m_mutex);
    m_schedule = RecoverySchedule(idleMs, longestMs);
}

std::size_t RecoveryWriter::Queued() const
{
    std::lock_guard lock(m_mutex);
    return m_queued;
}

void RecoveryWriter::WaitQueuedBelow(std::size_t bytes)
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [&] { return m_queued < bytes; });
}

void RecoveryWriter::WaitIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
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
    // Batch scheduling: woken by a handed-over keystroke, this thread does not take the processor
    // from the window's thread (the default policy prefers a thread that slept, which on a busy
    // machine costs the window a whole time slice per key).
    sched_param param{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &param);
    using Clock = std::chrono::steady_clock;
    for (;;) {
        Job job{Op::Flush, {}, {}};
        bool have = false, stop = false;
        {
            std::unique_lock lock(m_mutex);
            for (;;) {
                if (!m_jobs.empty()) {
                    job = std::move(m_jobs.front());
                    m_jobs.pop_front();
                    m_queued -= job.bytes.size();
                    have = true;
                    break;
                }
                if (m_stop) {
                    stop = true;
                    break;
                }
                if (!m_dirty) {
                    m_wake.wait(lock);
                    continue;
                }
                const auto dueMs = m_schedule.Due();
                const auto due = m_epoch + std::chrono::milliseconds(dueMs.value_or(0));
                if (!dueMs || Clock::now() >= due)
                    break; // the appends are due on the device
                m_wake.wait_until(lock, due);
            }
            m_busy = true;
        }
        if (have)
            Execute(job);
        else if (m_dirty)
            Sync();
        {
            std::lock_guard lock(m_mutex);
            m_busy = false;
        }
        m_idle.notify_all();
        if (stop) {
            if (m_dirty)
                Sync();
            Drop(m_next, true);
            Drop(m_main, false);
            return;
        }
    }
}

void RecoveryWriter::Execute(Job& job)
{
    switch (job.op) {
    case Op::Start:
        Drop(m_main, false);
        if (Begin(m_main, job.bytes) == 0) {
            if (::rename(m_main.temporary.constData(), m_native.constData()) != 0) {
                const int error = errno;
                Drop(m_main, true);
                m_main.broken = true;
                Report(error);
                break;
            }
            m_main.temporary.clear();
            m_dirty = true;
            std::lock_guard lock(m_mutex);
            m_schedule.Changed(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now() - m_epoch).count());
        }
        break;
    case Op::Append:
    case Op::Record: {
        if (m_main.fd < 0 || m_main.broken)
            break;
        bool ok;
        if (job.op == Op::Append) {
            const std::string head = EditHead(job.edit, job.bytes.size());
            ok = Write(m_main, head, job.bytes, EditTail(head, job.bytes));
        } else {
            ok = Write(m_main, job.bytes);
        }
        if (ok) {
            m_dirty = true;
            std::lock_guard lock(m_mutex);
            m_schedule.Changed(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now() - m_epoch).count());
        }
        break;
    }
    case Op::BeginNext: {
        // The slices' buffers, their pages touched here rather than on the window's thread.
        std::vector<std::string> buffers(kBuffersAtMost / kSliceBytes);
        for (std::string& b : buffers) {
            b.resize(kSliceBytes);
            b.clear();
        }
        {
            std::lock_guard lock(m_mutex);
            for (std::string& b : buffers)
                if (m_buffered + kSliceBytes <= kBuffersAtMost) {
                    m_buffered += b.capacity();
                    m_buffers.push_back(std::move(b));
                }
        }
        Drop(m_next, true);
        Begin(m_next, job.bytes);
        break;
    }
    case Op::AppendNext:
        if (m_next.fd >= 0 && !m_next.broken) {
            const std::string head = EditHead(job.edit, job.bytes.size());
            Write(m_next, head, job.bytes, EditTail(head, job.bytes));
        }
        if (job.bytes.capacity() >= kSliceBytes) {
            job.bytes.clear();
            std::lock_guard lock(m_mutex);
            if (m_buffered + job.bytes.capacity() <= kBuffersAtMost) {
                m_buffered += job.bytes.capacity();
                m_buffers.push_back(std::move(job.bytes));
            }
        }
        break;
    case Op::CommitNext: {
        if (m_next.fd < 0 || m_next.broken) {
            Drop(m_next, true);
            break;
        }
        // On the device before it takes the old journal's place.
        if (::fdatasync(m_next.fd) != 0 || ::rename(m_next.temporary.constData(), m_native.constData()) != 0) {
            const int error = errno;
            Drop(m_next, true);
            Report(error);
            break;
        }
        DropBuffers();
        Drop(m_main, false);
        m_main = std::exchange(m_next, {});
        m_main.temporary.clear();
        m_dirty = false;
        {
            std::lock_guard lock(m_mutex);
            m_schedule.Taken();
        }
        Report(0);
        break;
    }
    case Op::AbortNext:
        Drop(m_next, true);
        break;
    case Op::Remove:
        DropBuffers();
        Drop(m_next, true);
        Drop(m_main, false);
        ::unlink(m_native.constData());
        m_main.broken = false;
        m_dirty = false;
        {
            std::lock_guard lock(m_mutex);
            m_schedule.Taken();
        }
        break;
    case Op::Flush:
        if (m_dirty)
            Sync();
        break;
    }
}

bool RecoveryWriter::Write(Target& target, std::string_view a, std::string_view b, std::string_view c)
{
    iovec parts[3] = {{const_cast<char*>(a.data()), a.size()},
                      {const_cast<char*>(b.data()), b.size()},
                      {const_cast<char*>(c.data()), c.size()}};
    iovec* at = parts;
    int count = 3;
    while (count > 0) {
        if (at->iov_len == 0) {
            ++at;
            --count;
            continue;
        }
        const ssize_t done = ::writev(target.fd, at, count);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            target.broken = true;
            Report(errno);
            return false;
        }
        auto left = static_cast<std::size_t>(done);
        while (count > 0 && left >= at->iov_len) {
            left -= at->iov_len;
            ++at;
            --count;
        }
        if (count > 0) {
            at->iov_base = static_cast<char*>(at->iov_base) + left;
            at->iov_len -= left;
        }
    }
    return true;
}

int RecoveryWriter::Begin(Target& target, std::string_view start)
{
    target = {};
    target.temporary = m_native + QByteArrayLiteral(".XXXXXX");
    // mkostemp makes the file 0600 from the start: no moment in which others may read it.
    target.fd = ::mkostemp(target.temporary.data(), O_CLOEXEC);
    if (target.fd < 0) {
        const int error = errno;
        target.broken = true;
        target.temporary.clear();
        Report(error);
        return error;
    }
    if (!Write(target, start)) {
        Drop(target, true);
        target.broken = true;
        return EIO;
    }
    return 0;
}

void RecoveryWriter::Drop(Target& target, bool unlink)
{
    if (target.fd >= 0)
        ::close(target.fd);
    if (unlink && !target.temporary.isEmpty())
        ::unlink(target.temporary.constData());
    target = {};
}

void RecoveryWriter::DropBuffers()
{
    std::vector<std::string> dropped; // freed outside the lock
    std::lock_guard lock(m_mutex);
    dropped.swap(m_buffers);
    m_buffered = 0;
}

void RecoveryWriter::Sync()
{
    m_dirty = false;
    {
        std::lock_guard lock(m_mutex);
        m_schedule.Taken();
    }
    if (m_main.fd < 0 || m_main.broken)
        return;
    Report(::fdatasync(m_main.fd) == 0 ? 0 : errno);
}

void RecoveryWriter::Report(int error)
{
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
