#include "agent/AdminPortStopper.h"

#include "agent/QueuedReceiver.h"
#include "common/Format.h"
#include "common/UniqueFd.h"

#include <QThreadPool>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace kv::agent {

namespace {

struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = AF_INET;
};

bool resolve(const std::string& text, int port, Address& out) {
    std::string host = text.empty() ? "127.0.0.1" : text;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&out.storage);
    if (::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<std::uint16_t>(port));
        out.length = sizeof(sockaddr_in);
        out.family = AF_INET;
        return true;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&out.storage);
    if (::inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<std::uint16_t>(port));
        out.length = sizeof(sockaddr_in6);
        out.family = AF_INET6;
        return true;
    }
    return false;
}

// Connects with a bound on the wait, then leaves the socket blocking.
bool connectWithin(int fd, const Address& address, std::chrono::milliseconds timeout) {
    int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length);
    if (rc != 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        rc = -1;
        if (::poll(&p, 1, static_cast<int>(timeout.count())) == 1) {
            int error = 0;
            socklen_t len = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0)
                rc = 0;
        }
    }
    ::fcntl(fd, F_SETFL, flags);
    return rc == 0;
}

} // namespace

AdminPortStopper::AdminPortStopper(std::string address, int port, std::chrono::milliseconds connectTimeout)
    : address_(std::move(address)), port_(port), connectTimeout_(connectTimeout) {}

AdminPortStopper::Outcome AdminPortStopper::sendShutdown() const {
    Outcome out;
    auto note = [&out](std::string line) { out.logLines.push_back(std::move(line)); };
    Address address;
    bool known = resolve(address_, port_, address);
    UniqueFd socket(::socket(address.family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.get() < 0) {
        note("Failure creating connection to server KVSM interface\n");
        out.result = Result::SocketFailed;
        return out;
    }
    note("Created shutdown socket\n");
    int flags = ::fcntl(socket.get(), F_GETFL);
    bool blocking = flags >= 0 && ::fcntl(socket.get(), F_SETFL, flags & ~O_NONBLOCK) == 0;
    note(format("Shutdown socket blocking set %d\n", blocking ? 1 : 0));

    bool connected = known && connectWithin(socket.get(), address, connectTimeout_);
    note(format("Shutdown socket connection result: %d\n", connected ? 1 : 0));
    if (!connected) {
        note("Failure connecting to server KVSM interface\n");
        out.result = Result::ConnectFailed;
        return out;
    }
    static constexpr char kCommand[] = "SHUTDOWN\r";
    ssize_t sent = ::send(socket.get(), kCommand, sizeof kCommand - 1, MSG_NOSIGNAL);
    note(format("Transmitted shutdown command result %d\n", static_cast<int>(sent)));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    out.result = Result::Sent;
    return out;
}

void AdminPortStopper::sendShutdownLater(std::shared_ptr<QueuedReceiver> receiver,
                                         std::function<void(Outcome)> done) const {
    QThreadPool::globalInstance()->start([stopper = *this, receiver = std::move(receiver), done = std::move(done)] {
        try {
            Outcome outcome = stopper.sendShutdown();
            receiver->post([done, outcome = std::move(outcome)] { done(outcome); });
        } catch (...) {
            // Out of memory at worst: the run's clean-up goes ahead without this result after its bound.
        }
    });
}

} // namespace kv::agent
