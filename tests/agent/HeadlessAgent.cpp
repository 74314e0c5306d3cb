#include "tests/agent/HeadlessAgent.h"

#include "common/Md5.h"

#include "tests/support/FreePort.h"
#include "tests/support/WaitUntil.h"

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace kv::test {

bool acceptsConnections(const std::string& address, int port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1)
        return false;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
    ::close(fd);
    return ok;
}

HeadlessAgent::HeadlessAgent() : HeadlessAgent(Options{}) {}

HeadlessAgent::HeadlessAgent(Options options) : options_(std::move(options)) {
    if (options_.port == 0)
        options_.port = freeTcpPort();
}

HeadlessAgent::~HeadlessAgent() {
    stop();
}

std::string HeadlessAgent::address() const {
    return options_.listenAddress + ":" + std::to_string(options_.port);
}

bool HeadlessAgent::start() {
    if (running_)
        return true;
    if (!host_.ok()) {
        error_ = host_.error();
        return false;
    }
    kv::agent::AgentSettings settings = host_.settings();
    if (!options_.activeSetup)
        settings.activeControlFile.clear();
    settings.serverIp = options_.listenAddress;
    settings.remoteControlServerPort = options_.port;
    settings.md5Password = kv::md5Hex(options_.password);
    settings.adminName = adminName_;
    if (options_.settings)
        options_.settings(settings);
    adminName_ = settings.adminName;
    if (!host_.writeSettings(settings)) {
        error_ = "the agent's settings could not be written";
        return false;
    }
    run_ = std::make_unique<ProgramRun>();
    if (!run_->start({KV_BIN_DIR "/kvagent", "--headless", "--workdir", host_.workFolder(), "--admin-port",
                      std::to_string(host_.adminPort()), "--cleanup-ms", "300", "--stop-grace-ms", "300"},
                     {}, {}, &error_))
        return false;
    running_ = true;
    if (!run_->waitForLine("(headless)", 10s) ||
        !waitUntil([this] { return acceptsConnections(options_.listenAddress, options_.port); }, 10s, 20ms)) {
        error_ = "the agent did not start listening:\n" + run_->output();
        stop();
        return false;
    }
    return true;
}

void HeadlessAgent::stop() {
    if (!running_)
        return;
    running_ = false;
    run_->process().signalGroup(SIGTERM);
    run_->waitForExit(15s);
}

} // namespace kv::test
