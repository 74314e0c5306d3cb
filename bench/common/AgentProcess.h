#pragma once

#include "common/ChildProcess.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kv::bench {

// `kvagent --headless` as a child process on loopback, with a game folder whose server is the simulator and a
// configuration "Bench" on map Harbor.kvo. Administrator "admin", password "secret". Its output is read on a
// thread of its own (a headless agent prints every access log line, and must never block on a full pipe).
class AgentProcess {
public:
    struct Setup {
        std::string binDir;    // kvagent and kvsim
        std::string folder;    // work/ and game/ are made below it
        bool runServer = false; // activate "Bench", so that the agent starts the simulator
        std::vector<std::pair<std::string, std::string>> simulatorKnobs;
        // Set the password through `kvagent --set-password` on standard input, as an administrator does, rather
        // than writing its digest into the settings.
        bool setPasswordWithAgent = false;
    };

    AgentProcess() = default;
    AgentProcess(const AgentProcess&) = delete;
    AgentProcess& operator=(const AgentProcess&) = delete;
    ~AgentProcess();

    // Prepares the folders and starts the agent; true once it listens. `error` says what went wrong.
    bool start(const Setup& setup, std::string* error);
    // Waits for an output line that contains `text` (searched from the start of the output).
    bool waitForLine(const std::string& text, std::chrono::milliseconds timeout);
    // SIGTERM, then SIGKILL if it has not ended within `grace`.
    void stop(std::chrono::milliseconds grace = std::chrono::seconds(10));

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    unsigned port() const { return static_cast<unsigned>(port_); }
    pid_t pid() const { return process_.pid(); }
    std::size_t linesContaining(const std::string& text) const;
    // Lines of the agent's daily log files (Logs/ in its working folder) that contain `text`.
    std::size_t logLinesContaining(const std::string& text) const;
    std::string lastLines(std::size_t count) const;

private:
    bool prepare(const Setup& setup, std::string* error);
    static bool setPassword(const Setup& setup, const std::string& password, std::string* error);
    bool waitForListener(std::chrono::milliseconds timeout);
    void readLoop();

    ChildProcess process_;
    int port_ = 0;
    std::string workDir_;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    bool ended_ = false;
};

} // namespace kv::bench
