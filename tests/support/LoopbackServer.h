#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// A one-thread HTTP server on 127.0.0.1 that answers each path with a fixed raw response,
// one connection at a time. Marks in a response:
// - kStall: the response is sent up to the mark, then the connection stays silent until the
//   client closes it (a response that is only the mark never answers at all);
// - kDrip: the response is sent up to the mark, then one "." every kDripMs until the client
//   closes the connection.
class LoopbackServer {
public:
    static constexpr std::string_view kStall = "<stall>";
    static constexpr std::string_view kDrip = "<drip>";
    static constexpr int kDripMs = 100;

    explicit LoopbackServer(std::map<std::string, std::string> routes);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string Url(const std::string& path) const;
    std::vector<std::string> Requests();

    // A full response with a Content-Length.
    static std::string Response(const std::string& status, const std::string& body, const std::string& extra = {});

private:
    bool Wait(int fd); // until readable or the server stops
    void Serve();
    void Answer(int connection);

    std::map<std::string, std::string> m_routes;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
};
