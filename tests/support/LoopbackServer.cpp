#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

LoopbackServer::LoopbackServer(std::map<std::string, std::string> routes) : m_routes(std::move(routes))
{
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(m_listen, 16) != 0)
        throw std::runtime_error("loopback server cannot listen");
    socklen_t len = sizeof addr;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listen);
}

std::string LoopbackServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<std::string> LoopbackServer::Requests()
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::string LoopbackServer::Response(const std::string& status, const std::string& body, const std::string& extra)
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" +
           extra + "\r\n" + body;
}

namespace {

bool Readable(int fd, int ms)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
}

} // namespace

bool LoopbackServer::Wait(int fd)
{
    while (!m_stop)
        if (Readable(fd, 50))
            return true;
    return false;
}

void LoopbackServer::Serve()
{
    while (Wait(m_listen)) {
        const int c = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0)
            continue;
        Answer(c);
        ::close(c);
    }
}

void LoopbackServer::Answer(int c)
{
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
    const std::size_t drip = reply.find(kDrip);
    reply.resize(std::min(stall, drip) == std::string::npos ? reply.size() : std::min(stall, drip));
    std::size_t sent = 0;
    while (sent < reply.size()) {
        const ssize_t n = ::send(c, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<std::size_t>(n);
    }
    if (stall != std::string::npos && stall < drip) {
        // Silent until the client gives up and closes.
        while (Wait(c) && ::read(c, buffer, sizeof buffer) > 0) {
        }
    } else if (drip != std::string::npos) {
        for (;;) {
            if (Readable(c, kDripMs) && ::read(c, buffer, sizeof buffer) <= 0)
                return; // closed by the client
            if (m_stop || ::send(c, ".", 1, MSG_NOSIGNAL) != 1)
                return;
        }
    }
}
