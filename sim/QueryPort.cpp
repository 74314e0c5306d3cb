#include "sim/QueryPort.h"

#include "sim/SimSocket.h"

#include <sys/socket.h>

namespace kv::sim {

bool QueryPort::open(const std::string& address, int port, std::string& error) {
    socket_ = openBoundSocket(address, port, SOCK_DGRAM, error);
    return socket_.valid();
}

int QueryPort::process(bool answering, const std::function<ServerStatusSnapshot()>& snapshot) {
    int answered = 0;
    // Bounded, so that a flood of datagrams cannot starve the admin port.
    for (int i = 0; i < 64; ++i) {
        char buffer[2048];
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        ssize_t n = ::recvfrom(socket_.get(), buffer, sizeof buffer, MSG_TRUNC, reinterpret_cast<sockaddr*>(&peer),
                               &length);
        if (n < 0)
            break;
        if (!answering || n > static_cast<ssize_t>(sizeof buffer) ||
            !isStatusRequest(std::string_view(buffer, static_cast<std::size_t>(n))))
            continue;
        for (const std::string& datagram : buildStatusReply(snapshot()))
            ::sendto(socket_.get(), datagram.data(), datagram.size(), MSG_DONTWAIT,
                     reinterpret_cast<sockaddr*>(&peer), length);
        ++answered;
    }
    return answered;
}

} // namespace kv::sim
