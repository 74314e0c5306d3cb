#include "tests/support/ScriptedStatusPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

namespace kv::test {

namespace {

UniqueFd loopbackSocket(int& port) {
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (!fd.valid() || ::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {};
    port = ntohs(address.sin_port);
    return fd;
}

} // namespace

ScriptedStatusPeer::ScriptedStatusPeer(Script script) : script_(std::move(script)) {
    int otherPort = 0;
    socket_ = loopbackSocket(port_);
    other_ = loopbackSocket(otherPort);
    if (!socket_.valid() || !other_.valid()) {
        port_ = 0;
        return;
    }
    thread_ = std::thread([this] { serve(); });
}

ScriptedStatusPeer::~ScriptedStatusPeer() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

std::vector<std::string> ScriptedStatusPeer::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void ScriptedStatusPeer::serve() {
    std::vector<char> buffer(65536);
    while (!stop_) {
        pollfd p{socket_.get(), POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        sockaddr_storage sender{};
        socklen_t length = sizeof sender;
        const ssize_t n =
            ::recvfrom(socket_.get(), buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&sender), &length);
        if (n < 0)
            continue;
        const std::string datagram(buffer.data(), static_cast<std::size_t>(n));
        std::size_t number = 0;
        {
            std::lock_guard lock(mutex_);
            number = received_.size();
            received_.push_back(datagram);
        }
        for (const Answer& answer : script_(number, datagram))
            ::sendto(answer.fromOtherPort ? other_.get() : socket_.get(), answer.bytes.data(), answer.bytes.size(), 0,
                     reinterpret_cast<sockaddr*>(&sender), length);
    }
}

} // namespace kv::test
