#include "document/TextFile.h"
#include "extract/UrlFetch.h"
#include "platform/Error.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <map>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::string Response(const std::string& status, const std::string& body, const std::string& extra = {})
{
    return LoopbackServer::Response(status, body, extra);
}

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
    {"/silent", "<stall>"},
    {"/drip", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nstart<drip>"},
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
    const auto t0 = Clock::now();
    DownloadUrlToFile(server.Url("/stall"), target, limits);
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(10));
    EXPECT_EQ(ReadFileBytes(target), "0123456789");
}

// The caller is asked often enough to keep its windows painting, also while nothing arrives,
// and can end a fetch that would never end by itself.
TEST(Fetch, ServerThatNeverAnswersIsCancelledByTheCaller)
{
    LoopbackServer server(kRoutes);
    TempHome home;
    const QString target = home.File(QStringLiteral("temp.txt"));
    WriteFileBytes(target, "old");
    FetchLimits limits;
    std::vector<Clock::time_point> asked;
    limits.keepGoing = [&](std::int64_t received) {
        EXPECT_EQ(received, 0);
        asked.push_back(Clock::now());
        return asked.size() < 10;
    };
    const auto t0 = Clock::now();
    EXPECT_TRUE(DownloadUrlToFile(server.Url("/silent"), target, limits));
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(5));
    ASSERT_EQ(asked.size(), 10u);
    for (std::size_t i = 1; i < asked.size(); ++i)
        EXPECT_LT(asked[i] - asked[i - 1], milliseconds(250)) << i;
    EXPECT_EQ(ReadFileBytes(target), "");
}

TEST(Fetch, CancelKeepsTheBytesReceived)
{
    LoopbackServer server(kRoutes);
    TempHome home;
    const QString target = home.File(QStringLiteral("temp.txt"));
    FetchLimits limits;
    std::int64_t last = -1;
    limits.keepGoing = [&](std::int64_t received) {
        last = received;
        return received < 10;
    };
    const auto t0 = Clock::now();
    DownloadUrlToFile(server.Url("/stall"), target, limits);
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(5));
    EXPECT_EQ(last, 10);
    EXPECT_EQ(ReadFileBytes(target), "0123456789");
}

// A server that sends a byte now and then never trips the idle limit; the overall one ends it.
TEST(Fetch, SlowDripIsEndedByTheOverallLimitKeepingWhatArrived)
{
    LoopbackServer server(kRoutes);
    TempHome home;
    const QString target = home.File(QStringLiteral("temp.txt"));
    FetchLimits limits;
    limits.totalTimeout = milliseconds(800);
    std::int64_t last = 0;
    limits.keepGoing = [&](std::int64_t received) {
        last = received;
        return true;
    };
    const auto t0 = Clock::now();
    DownloadUrlToFile(server.Url("/drip"), target, limits);
    const auto took = Clock::now() - t0;
    EXPECT_GE(took, milliseconds(800));
    EXPECT_LT(took, std::chrono::seconds(5));
    const std::string body = ReadFileBytes(target);
    EXPECT_TRUE(body.starts_with("start..")) << body;
    EXPECT_EQ(body.find_first_not_of('.', 5), std::string::npos) << body;
    EXPECT_EQ(last, static_cast<std::int64_t>(body.size()));
}

TEST(Fetch, StopsAtTheSizeLimitKeepingWhatFits)
{
    LoopbackServer server(kRoutes);
    TempHome home;
    const QString path = home.File(QStringLiteral("temp.txt"));
    // A body of exactly the limit is whole; one byte more and it is cut there.
    for (const auto& [limit, cut] : {std::pair{4999, true}, std::pair{5000, false}}) {
        FetchLimits limits;
        limits.maxBytes = limit;
        bool stopped = !cut;
        DownloadUrlToFile(server.Url("/big"), path, limits, &stopped);
        EXPECT_EQ(stopped, cut);
        EXPECT_EQ(ReadFileBytes(path), Bytes(static_cast<std::size_t>(limit)));
    }
    EXPECT_EQ(FetchLimits{}.maxBytes, std::int64_t{256} << 20);
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
