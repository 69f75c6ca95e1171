#include "document/TextFile.h"
#include "extract/UrlFetch.h"
#include "platform/Error.h"
#include "tests/support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace {

std::string Response(const std::string& status, const std::string& body, const std::string& extra = {})
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + extra + "\r\n" + body;
}

// A one-thread HTTP server on 127.0.0.1 that answers each path with a fixed raw response.
// A response that ends in kStall is sent up to that mark, then the connection stays silent.
class LoopbackServer {
public:
    static constexpr std::string_view kStall = "<stall>";

    explicit LoopbackServer(std::map<std::string, std::string> routes) : m_routes(std::move(routes))
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(m_listen, 16) != 0)
            ADD_FAILURE() << "cannot listen";
        socklen_t len = sizeof addr;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~LoopbackServer()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_listen);
    }

    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

    std::vector<std::string> Requests()
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    bool Wait(int fd)
    {
        pollfd p{fd, POLLIN, 0};
        while (!m_stop)
            if (::poll(&p, 1, 50) > 0)
                return true;
        return false;
    }

    void Serve()
    {
        while (Wait(m_listen)) {
            const int c = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                continue;
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos && Wait(c)) {
                const ssize_t got = ::read(c, buffer, sizeof buffer);
                if (got <= 0)
                    break;
                request.append(buffer, static_cast<std::size_t>(got));
            }
            {
                std::lock_guard lock(m_mutex);
                m_requests.push_back(request);
            }
            const std::size_t sp = request.find(' ');
            const std::string path = request.substr(sp + 1, request.find(' ', sp + 1) - sp - 1);
            const auto route = m_routes.find(path);
            std::string reply = route == m_routes.end() ? Response("404 Not Found", "no route") : route->second;
            const std::size_t stall = reply.find(kStall);
            if (stall != std::string::npos)
                reply.resize(stall);
            std::size_t sent = 0;
            while (sent < reply.size()) {
                const ssize_t n = ::send(c, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            if (stall != std::string::npos) {
                // Silent until the client gives up and closes.
                while (Wait(c) && ::read(c, buffer, sizeof buffer) > 0) {
                }
            }
            ::close(c);
        }
    }

    std::map<std::string, std::string> m_routes;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
};

std::string Bytes(std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s.push_back(static_cast<char>('a' + i % 26));
    return s;
}

const std::string kMixed("one\r\ntwo\nthree\0four\r\n", 22);
const std::string kErrorPage = "<html><body><h1>404 Not Found</h1></body></html>\r\n";

const std::map<std::string, std::string> kRoutes = {
    {"/exact1024", Response("200 OK", Bytes(1024))},
    {"/big", Response("200 OK", Bytes(5000))},
    {"/mixed", Response("200 OK", kMixed)},
    {"/empty", Response("200 OK", "")},
    {"/missing", Response("404 Not Found", kErrorPage, "Content-Type: text/html\r\n")},
    {"/moved", Response("302 Found", "redirect body", "Location: /mixed\r\n")},
    {"/loop", Response("302 Found", "again", "Location: /loop\r\n")},
    {"/chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                 "3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n"},
    {"/stall", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n0123456789<stall>"},
};

struct BodyCase {
    const char* name;
    std::string path;
    std::string body;
};

void PrintTo(const BodyCase& c, std::ostream* os) { *os << c.name; }

class Bodies : public testing::TestWithParam<BodyCase> {};

TEST_P(Bodies, AreWrittenByteForByteInBlocksOfAtMost1024)
{
    LoopbackServer server(kRoutes);
    TempHome home;
    const QString target = home.File(QStringLiteral("temp.txt"));
    WriteFileBytes(target, "old content that must go");
    std::size_t largest = 0;
    FetchLimits limits;
    limits.onBlock = [&](std::size_t n) { largest = std::max(largest, n); };
    EXPECT_TRUE(DownloadUrlToFile(server.Url(GetParam().path), target, limits));
    EXPECT_EQ(ReadFileBytes(target), GetParam().body);
    EXPECT_LE(largest, 1024u);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Fetch, Bodies, testing::Values(
    BodyCase{"Exactly1024", "/exact1024", Bytes(1024)},
    BodyCase{"SeveralBlocks", "/big", Bytes(5000)},
    BodyCase{"LineBreaksAndNulUnchanged", "/mixed", kMixed},
    BodyCase{"EmptyBody", "/empty", ""},
    BodyCase{"ErrorStatusKeepsItsPage", "/missing", kErrorPage},
    BodyCase{"RedirectIsFollowed", "/moved", kMixed},
    BodyCase{"EndlessRedirectsGiveUp", "/loop", ""},
    BodyCase{"ChunkedBodyIsDecoded", "/chunked", "abcde"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Fetch, SendsTheUserAgent)
{
    LoopbackServer server(kRoutes);
    TempHome home;
    DownloadUrlToFile(server.Url("/empty"), home.File(QStringLiteral("temp.txt")));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].find("\r\nUser-Agent: Morvane Quorlex - http://www.morvane.example\r\n"), std::string::npos)
        << requests[0];
}

TEST(Fetch, RedirectsStopAfterTen)
{
    LoopbackServer server(kRoutes);
    TempHome home;
    DownloadUrlToFile(server.Url("/loop"), home.File(QStringLiteral("temp.txt")));
    EXPECT_EQ(server.Requests().size(), 11u);
}

TEST(Fetch, UrlsThatCannotBeOpenedEmptyTheFileSilently)
{
    TempHome home;
    const QString target = home.File(QStringLiteral("temp.txt"));
    // Port 1 on the loopback has no listener; file: and unknown schemes are not fetched.
    for (const std::string url : {"", "not a url", "http://127.0.0.1:1/", "file:///etc/passwd", "gopher://x/"}) {
        WriteFileBytes(target, "old");
        EXPECT_TRUE(DownloadUrlToFile(url, target)) << url;
        EXPECT_TRUE(QFile::exists(target)) << url;
        EXPECT_EQ(ReadFileBytes(target), "") << url;
    }
}

TEST(Fetch, SilentServerIsGivenUpKeepingWhatArrived)
{
    LoopbackServer server(kRoutes);
    TempHome home;
    const QString target = home.File(QStringLiteral("temp.txt"));
    FetchLimits limits;
    limits.idleTimeout = std::chrono::milliseconds(1000);
    const auto t0 = std::chrono::steady_clock::now();
    DownloadUrlToFile(server.Url("/stall"), target, limits);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));
    EXPECT_EQ(ReadFileBytes(target), "0123456789");
}

TEST(Fetch, TargetThatCannotBeCreatedThrows)
{
    LoopbackServer server(kRoutes);
    for (const std::string path : {"/big", "/nothing-here"}) {
        try {
            DownloadUrlToFile(server.Url(path), QStringLiteral("/nonexistent-quorlex/temp.txt"));
            ADD_FAILURE() << "no error for " << path;
        } catch (const QuorlexError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot create file \"/nonexistent-quorlex/temp.txt\". No such file or directory");
        }
    }
}

} // namespace
