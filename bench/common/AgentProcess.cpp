#include "bench/common/AgentProcess.h"

#include "bench/common/BenchPorts.h"

#include "agent/AgentSettings.h"
#include "agent/SettingsFile.h"
#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Md5.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdint>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kv::bench {

AgentProcess::~AgentProcess() {
    stop(std::chrono::seconds(5));
}

bool AgentProcess::prepare(const Setup& setup, std::string* error) {
    const std::string work = joinPath(setup.folder, "work");
    workDir_ = work;
    const std::string game = joinPath(setup.folder, "game");
    const std::string server = joinPath(game, "System/server.bin");
    port_ = freeTcpPort();
    const int adminPort = freeTcpPort(), queryPort = freeUdpPort();
    std::string conf = "KVSIM_ADMIN_PORT=" + std::to_string(adminPort) + "\nKVSIM_QUERY_PORT=" +
                       std::to_string(queryPort) + "\nKVSIM_SHUTDOWN_DELAY_MS=50\n";
    for (const auto& [name, value] : setup.simulatorKnobs)
        conf += name + "=" + value + "\n";
    agent::AgentSettings settings = agent::AgentSettings::defaults();
    settings.serverIp = "127.0.0.1";
    settings.remoteControlServerPort = port_;
    settings.adminName = "admin";
    settings.md5Password = setup.setPasswordWithAgent ? std::string() : md5Hex("secret");
    settings.gameServerPath = game;
    settings.activeControlFile = setup.runServer ? "Bench.Control" : "";
    bool ok = port_ > 0 && adminPort > 0 && queryPort > 0 && makeDirectories(joinPath(game, "System")) &&
              makeDirectories(joinPath(game, "Maps")) && makeDirectories(joinPath(work, "Configurations")) &&
              (::symlink(joinPath(setup.binDir, "kvsim").c_str(), server.c_str()) == 0) &&
              writeFileAtomically(joinPath(game, "Maps/Harbor.kvo"), "map\n") &&
              writeFileAtomically(joinPath(game, "kvsim.conf"), conf) &&
              writeFileAtomically(joinPath(work, "Configurations/Bench.Control"),
                                  "Name=Bench\nRunMode=GLOBAL\nMap=Harbor.kvo\nIni=Bench.ini\nGamePlayerPassword=\n"
                                  "GameAdminPassword=\nDescription=Benchmark0xA\n") &&
              writeFileAtomically(joinPath(work, "Configurations/Bench.ini"),
                                  "[Server]\nServerName=Bench\nMaxPlayers=24\nRoundsPerMatch=5\n") &&
              agent::settings_file::save(joinPath(work, agent::settings_file::kFileName), settings);
    if (!ok && error)
        *error = "cannot prepare the agent's folders in " + setup.folder;
    return ok && (!setup.setPasswordWithAgent || setPassword(setup, "secret", error));
}

bool AgentProcess::setPassword(const Setup& setup, const std::string& password, std::string* error) {
    ChildProcess set;
    ProcessOptions options;
    options.arguments = {joinPath(setup.binDir, "kvagent"), "--set-password", "--workdir",
                         joinPath(setup.folder, "work")};
    if (!set.start(options, error))
        return false;
    const std::string input = password + "\n";
    const bool written = ::write(set.inputFd(), input.data(), input.size()) == static_cast<ssize_t>(input.size());
    set.closeInput();
    if (written && set.waitFor(std::chrono::seconds(10)) == 0)
        return true;
    if (error)
        *error = "kvagent --set-password failed";
    return false;
}

bool AgentProcess::start(const Setup& setup, std::string* error) {
    if (!prepare(setup, error))
        return false;
    ProcessOptions options;
    options.arguments = {joinPath(setup.binDir, "kvagent"), "--headless", "--workdir", joinPath(setup.folder, "work"),
                         "--cleanup-ms", "300", "--stop-grace-ms", "300"};
    if (!process_.start(options, error))
        return false;
    reader_ = std::thread([this] { readLoop(); });
    if (!waitForLine("(headless)", std::chrono::seconds(15)) || !waitForListener(std::chrono::seconds(10))) {
        if (error)
            *error = "kvagent did not start listening:\n" + lastLines(20);
        return false;
    }
    return true;
}

// The agent announces itself before its listener runs: a plain TCP connection tells when the port takes calls
// (the agent drops it at once as a failed handshake, without a log line).
bool AgentProcess::waitForListener(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port_));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bool connected = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0)
            ::close(fd);
        if (connected)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void AgentProcess::readLoop() {
    std::string pending;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(process_.outputFd(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        std::lock_guard lock(mutex_);
        if (n <= 0)
            break;
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t start = 0;
        for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1)
            lines_.emplace_back(pending, start, end - start);
        pending.erase(0, start);
        changed_.notify_all();
    }
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

bool AgentProcess::waitForLine(const std::string& text, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    std::size_t from = 0;
    return changed_.wait_for(lock, timeout, [&] {
        for (; from < lines_.size(); ++from)
            if (lines_[from].find(text) != std::string::npos)
                return true;
        return ended_;
    }) && from < lines_.size();
}

std::size_t AgentProcess::linesContaining(const std::string& text) const {
    std::lock_guard lock(mutex_);
    std::size_t count = 0;
    for (const std::string& line : lines_)
        count += line.find(text) != std::string::npos ? 1 : 0;
    return count;
}

std::size_t AgentProcess::logLinesContaining(const std::string& text) const {
    const std::string logs = joinPath(workDir_, "Logs");
    std::size_t count = 0;
    for (const std::string& name : listDirectory(logs)) {
        const std::string content = readFile(joinPath(logs, name)).value_or("");
        for (std::size_t at = content.find(text); at != std::string::npos; at = content.find(text, at + 1))
            ++count;
    }
    return count;
}

std::string AgentProcess::lastLines(std::size_t count) const {
    std::lock_guard lock(mutex_);
    std::string text;
    for (std::size_t i = lines_.size() > count ? lines_.size() - count : 0; i < lines_.size(); ++i)
        text += lines_[i] + "\n";
    return text;
}

void AgentProcess::stop(std::chrono::milliseconds grace) {
    if (process_.started() && process_.running()) {
        ::kill(process_.pid(), SIGTERM); // the agent alone: it stops its game server through the admin port
        if (!process_.waitFor(grace)) {
            process_.kill();
            process_.waitFor(std::chrono::seconds(5));
        }
    }
    if (reader_.joinable())
        reader_.join();
}

} // namespace kv::bench
