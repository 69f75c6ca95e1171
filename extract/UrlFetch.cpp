#include "extract/UrlFetch.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QFile>

#include <curl/curl.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <algorithm>
#include <memory>
#include <unistd.h>

const char* const kUserAgent = "Morvane Quorlex - http://www.morvane.example";

namespace {

constexpr long kBlock = 1024;

struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

struct EasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};

struct MultiDeleter {
    void operator()(CURLM* h) const { curl_multi_cleanup(h); }
};

// The longest the loop waits for the network before it lets the caller look at its windows.
constexpr int kPollMs = 50;

// The target file, created or emptied when the first block of the body arrives, or when the
// transfer ends without one: the URL is opened before the file is touched.
class Target {
public:
    explicit Target(const QString& path) : m_path(path) {}
    ~Target()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool Open()
    {
        if (m_fd >= 0)
            return true;
        const QByteArray native = QFile::encodeName(m_path);
        // A fetched page is the user's business alone, also in a file an older version made.
        m_fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (m_fd < 0) {
            Fail(QT_TRANSLATE_NOOP("FileError", "Cannot create file"), errno);
            return false;
        }
        ::fchmod(m_fd, 0600);
        return true;
    }

    bool Write(const char* data, std::size_t size)
    {
        if (!Open())
            return false;
        while (size > 0) {
            const ssize_t done = ::write(m_fd, data, size);
            if (done < 0) {
                if (errno == EINTR)
                    continue;
                Fail(QT_TRANSLATE_NOOP("FileError", "Cannot write file"), errno);
                return false;
            }
            data += done;
            size -= static_cast<std::size_t>(done);
        }
        return true;
    }

    bool Close()
    {
        if (!Open())
            return false;
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR) {
            Fail(QT_TRANSLATE_NOOP("FileError", "Cannot write file"), errno);
            return false;
        }
        return true;
    }

    // Set when a file operation failed; thrown once the handles are released.
    const std::string& Error() const { return m_error; }

private:
    void Fail(const char* what, int err)
    {
        if (m_error.empty())
            m_error = FileErrorText(what, m_path.toStdString(), err);
    }

    QString m_path;
    int m_fd = -1;
    std::string m_error;
};

struct Transfer {
    Target* target;
    const FetchLimits* limits;
    std::int64_t written = 0;
    bool stoppedAtLimit = false;
    curl_off_t lastReceived = 0;
    std::chrono::steady_clock::time_point lastByteAt = std::chrono::steady_clock::now();
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (t->limits->onBlock)
        t->limits->onBlock(bytes);
    // What fits under the limit is kept; a byte beyond it ends the transfer there.
    const auto room = static_cast<std::size_t>(std::max<std::int64_t>(0, t->limits->maxBytes - t->written));
    const std::size_t kept = std::min(bytes, room);
    if (kept > 0 && !t->target->Write(data, kept))
        return 0; // ends the transfer
    t->written += static_cast<std::int64_t>(kept);
    if (kept < bytes) {
        t->stoppedAtLimit = true;
        return 0;
    }
    return bytes;
}

// Called about once a second and on every block: ends a transfer that has gone quiet.
int OnProgress(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t)
{
    auto* t = static_cast<Transfer*>(user);
    const auto now = std::chrono::steady_clock::now();
    if (received != t->lastReceived) {
        t->lastReceived = received;
        t->lastByteAt = now;
        return 0;
    }
    return now - t->lastByteAt > t->limits->idleTimeout ? 1 : 0;
}

// Drives the transfer without blocking for more than kPollMs at a time, so the caller can
// paint, show progress and stop it. The outcome is not needed: whatever body arrived is in the
// file, however the transfer ended.
void Run(CURL* easy, Transfer& transfer)
{
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK)
        return;
    struct Detach {
        CURLM* multi;
        CURL* easy;
        ~Detach() { curl_multi_remove_handle(multi, easy); }
    } detach{multi.get(), easy}; // also when keepGoing throws
    const FetchLimits& limits = *transfer.limits;
    const auto deadline = std::chrono::steady_clock::now() + limits.totalTimeout;
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK || running == 0)
            break;
        if (limits.keepGoing && !limits.keepGoing(transfer.written))
            break;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        const auto wait = static_cast<int>(std::min<std::int64_t>(left.count(), kPollMs));
        curl_multi_poll(multi.get(), nullptr, 0, wait, nullptr);
    }
}

} // namespace

bool DownloadUrlToFile(const std::string& url, const QString& path, const FetchLimits& limits, bool* stoppedAtLimit)
{
    static CurlGlobal global;
    Target target(path);
    if (stoppedAtLimit)
        *stoppedAtLimit = false;
    {
        std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
        if (easy) {
            Transfer transfer{&target, &limits};
            CURL* h = easy.get();
            curl_easy_setopt(h, CURLOPT_URL, url.c_str());
            curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
            curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
            curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
            curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
            curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kBlock);
            curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
            curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
            curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
            curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
            curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
            curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
            Run(h, transfer);
            if (stoppedAtLimit)
                *stoppedAtLimit = transfer.stoppedAtLimit;
        }
    } // the handle is released before any file error is raised
    if (target.Error().empty())
        target.Close();
    if (!target.Error().empty())
        throw QuorlexError(target.Error());
    return true;
}
