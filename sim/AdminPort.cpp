#include "sim/AdminPort.h"

#include "sim/SimSocket.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>

namespace kv::sim {

bool AdminPort::open(const std::string& address, int port, std::string& error) {
    listener_ = openBoundSocket(address, port, SOCK_STREAM, error);
    return listener_.valid();
}

void AdminPort::close() {
    connections_.clear();
    listener_.reset();
}

void AdminPort::addPollFds(std::vector<pollfd>& fds) const {
    if (listener_.valid())
        fds.push_back({listener_.get(), POLLIN, 0});
    for (const auto& c : connections_)
        fds.push_back({c.fd.get(), POLLIN, 0});
}

void AdminPort::accept(std::vector<Event>& events) {
    for (int i = 0; i < 16; ++i) {
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        UniqueFd fd(::accept4(listener_.get(), reinterpret_cast<sockaddr*>(&peer), &length,
                              SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd.valid())
            return;
        if (connections_.size() >= kMaxConnections) {
            events.push_back({addressText(peer), {}, "too many admin connections, refused"});
            continue;
        }
        connections_.push_back({std::move(fd), addressText(peer), {}, std::chrono::steady_clock::now()});
    }
}

std::vector<AdminPort::Event> AdminPort::process(const pollfd* fds, std::size_t count) {
    std::vector<Event> events;
    auto now = std::chrono::steady_clock::now();
    std::vector<int> ready;
    for (std::size_t i = 0; i < count; ++i)
        if (fds[i].revents != 0)
            ready.push_back(fds[i].fd);
    auto isReady = [&](int fd) { return std::find(ready.begin(), ready.end(), fd) != ready.end(); };

    for (auto& c : connections_) {
        if (!isReady(c.fd.get()))
            continue;
        char buffer[512];
        ssize_t n = ::recv(c.fd.get(), buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0) {
            c.fd.reset();
            continue;
        }
        c.lastActive = now;
        for (auto& command : c.input.feed(std::string_view(buffer, static_cast<std::size_t>(n))))
            events.push_back({c.peer, std::move(command), {}});
        if (c.input.overflowed()) {
            events.push_back({c.peer, {}, "admin command too long, connection closed"});
            c.fd.reset();
        }
    }
    for (auto& c : connections_) {
        if (c.fd.valid() && now - c.lastActive > kIdleLimit) {
            events.push_back({c.peer, {}, "idle admin connection closed"});
            c.fd.reset();
        }
    }
    std::erase_if(connections_, [](const Connection& c) { return !c.fd.valid(); });
    if (listener_.valid() && isReady(listener_.get()))
        accept(events);
    return events;
}

} // namespace kv::sim
