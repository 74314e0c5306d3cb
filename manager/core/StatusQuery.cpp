#include "manager/core/StatusQuery.h"

#include "common/UniqueFd.h"
#include "manager/core/StopSignal.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <vector>

namespace kv::core {

namespace {

constexpr std::size_t kDatagramBuffer = 64 * 1024;

struct AddressListDeleter {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};

// A UDP socket connected to `host`: its first IPv4 address, else its first other address that takes one. Game
// servers listen on IPv4 unless told otherwise, and a name with both kinds must not be asked on a port nobody serves.
UniqueFd connectTo(const std::string& host, int port, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    std::unique_ptr<addrinfo, AddressListDeleter> list(found);
    if (status != 0) {
        error = "cannot resolve " + host + ": " + ::gai_strerror(status);
        return {};
    }
    error = "no usable address for " + host;
    for (const bool ipv4 : {true, false})
        for (const addrinfo* a = list.get(); a; a = a->ai_next) {
            if ((a->ai_family == AF_INET) != ipv4)
                continue;
            UniqueFd fd(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol));
            if (fd.valid() && ::connect(fd.get(), a->ai_addr, a->ai_addrlen) == 0)
                return fd;
            error = std::string("cannot open a socket to ") + host + ": " + std::strerror(errno);
        }
    return {};
}

bool sendRequest(int fd, std::string& error) {
    if (::send(fd, kStatusRequest.data(), kStatusRequest.size(), MSG_NOSIGNAL) ==
        static_cast<ssize_t>(kStatusRequest.size()))
        return true;
    error = std::string("cannot send the request: ") + std::strerror(errno);
    return false;
}

} // namespace

StatusQueryResult StatusQuery::run(const std::string& host, int port, const StopSignal* stop) const {
    StatusQueryResult result;
    auto stopped = [&] { return stop && stop->raised(); };
    if (port < 1 || port > 65535) {
        result.error = "no such port: " + std::to_string(port);
        return result;
    }
    UniqueFd socket = connectTo(host, port, result.error);
    if (stopped()) {
        result.stopped = true;
        return result;
    }
    if (!socket.valid() || !sendRequest(socket.get(), result.error))
        return result;

    std::string reply;
    std::vector<char> buffer(kDatagramBuffer);
    for (int poll = 0; poll < timing_.polls; ++poll) {
        const ssize_t got = ::recv(socket.get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (got > 0) {
            ++result.datagrams;
            const std::size_t room = kStatusReplyLimit - reply.size();
            reply.append(buffer.data(), std::min(static_cast<std::size_t>(got), room));
            if (reply.size() == kStatusReplyLimit || statusReplyComplete(reply))
                break;
            continue;
        }
        if (got == 0)
            break;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            result.error = std::string("no answer: ") + std::strerror(errno);
            break;
        }
        // A lost request is repeated once; a server that is only slow answers twice, and the first "final" ends it.
        if (poll == 1 && reply.empty() && !sendRequest(socket.get(), result.error))
            return result;
        pollfd waits[2] = {{socket.get(), POLLIN, 0}, {stop ? stop->fd() : -1, POLLIN, 0}};
        ::poll(waits, 2, static_cast<int>(timing_.pollInterval.count()));
        if (stopped()) {
            result.stopped = true;
            result.error = "stopped";
            return result;
        }
    }
    if (reply.empty()) {
        if (result.error.empty())
            result.error = "no answer";
        return result;
    }
    result.answered = true;
    result.error.clear();
    result.status = parseStatusReply(reply);
    return result;
}

} // namespace kv::core
