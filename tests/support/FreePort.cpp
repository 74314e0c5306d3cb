#include "tests/support/FreePort.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

namespace kv::test {

namespace {

// Binds and closes at once; a port of 0 asks the kernel. Returns the bound port, or 0.
int tryBind(int type, int port) {
    int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    int result = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        result = ntohs(address.sin_port);
    ::close(fd);
    return result;
}

int findPort(bool tcp, bool udp) {
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> range(20000, 32000);
    for (int attempt = 0; attempt < 500; ++attempt) {
        int port = range(random);
        if ((!tcp || tryBind(SOCK_STREAM, port) == port) && (!udp || tryBind(SOCK_DGRAM, port) == port))
            return port;
    }
    for (int attempt = 0; attempt < 50; ++attempt) {
        int port = tryBind(tcp ? SOCK_STREAM : SOCK_DGRAM, 0);
        if (port != 0 && (!tcp || !udp || tryBind(SOCK_DGRAM, port) == port))
            return port;
    }
    return 0;
}

} // namespace

int freeTcpPort() { return findPort(true, false); }
int freeUdpPort() { return findPort(false, true); }
int freeTcpAndUdpPort() { return findPort(true, true); }

} // namespace kv::test
