#include "tests/sim/KvsimFixture.h"

#include "common/CommandLine.h"
#include "common/Format.h"
#include "sim/StatusReply.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

void KvsimTest::SetUp() {
    std::string error;
    ASSERT_TRUE(game.create(&error)) << error;
    adminPort = kv::test::freeTcpPort();
    queryPort = kv::test::freeUdpPort();
    ASSERT_NE(adminPort, 0);
    ASSERT_NE(queryPort, 0);
    ini = kv::test::SimGame::writeIni(dir.file("Configurations/Alpha.ini"), "Alpha Base", 16, 5);
    ASSERT_FALSE(ini.empty());
}

void KvsimTest::configure(const std::vector<std::pair<std::string, std::string>>& extra) {
    std::vector<std::pair<std::string, std::string>> settings = {
        {"KVSIM_ADMIN_PORT", std::to_string(adminPort)},
        {"KVSIM_QUERY_PORT", std::to_string(queryPort)},
        {"KVSIM_START_DELAY_MS", "100"},
        {"KVSIM_LINE_INTERVAL_MS", "100"},
    };
    settings.insert(settings.end(), extra.begin(), extra.end());
    ASSERT_TRUE(game.writeSettings(settings));
}

void KvsimTest::startLine(const std::string& commandLine, std::vector<std::pair<std::string, std::string>> env) {
    std::string error;
    ASSERT_TRUE(run.start(kv::splitCommandLine(commandLine), std::move(env), dir.path(), &error)) << error;
}

std::string KvsimTest::agentLine(const std::string& map, const std::string& iniPath) const {
    return kv::format("%s %s %s log=\"%s %d-%d-%d at %d-%2.2d-%2.2d.log\" ini=\"%s\" %s%s %s%s %s%s %s%s",
                      kv::quoteArgument(game.serverProgram()).c_str(), "GLOBAL", map.c_str(), "Alpha", 12, 7, 2026,
                      9, 5, 3, iniPath.c_str(), "", "", "", "", "", "", "", "");
}

bool KvsimTest::sendAdmin(const std::string& bytes, int port) {
    Fd s{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    sockaddr_in address = loopback(port ? port : adminPort);
    if (s.fd < 0 || ::connect(s.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return false;
    bool sent = ::send(s.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    std::this_thread::sleep_for(250ms);
    return sent;
}

bool KvsimTest::sendDatagram(const std::string& bytes) {
    Fd s{::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)};
    sockaddr_in address = loopback(queryPort);
    return ::sendto(s.fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address), sizeof address) ==
           static_cast<ssize_t>(bytes.size());
}

std::vector<std::string> KvsimTest::query(const std::string& request, int timeoutMs) {
    std::vector<std::string> datagrams;
    Fd s{::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)};
    sockaddr_in address = loopback(queryPort);
    if (::sendto(s.fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0)
        return datagrams;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{s.fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        char buffer[65536];
        ssize_t n = ::recv(s.fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        datagrams.emplace_back(buffer, static_cast<std::size_t>(n));
        if (datagrams.back().find("\\final") != std::string::npos)
            break;
    }
    return datagrams;
}

std::string replyValue(const std::string& reply, const std::string& key) {
    std::size_t at = reply.find(key + "\\");
    if (at == std::string::npos)
        return {};
    std::size_t begin = at + key.size() + 1;
    std::size_t end = reply.find('\\', begin);
    return end == std::string::npos ? std::string() : reply.substr(begin, end - begin);
}
