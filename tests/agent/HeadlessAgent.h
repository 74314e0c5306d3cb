#pragma once

#include "agent/AgentSettings.h"

#include "tests/agent/AgentTestHost.h"
#include "tests/support/ProgramRun.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace kv::test {

// `kvagent --headless` serving remote requests on loopback over an AgentTestHost (game folder with the simulator,
// control file "Duel"): the fixture of every test that drives the agent through the client library. The login is
// admin/secret; the agent stops when the fixture goes.
class HeadlessAgent {
public:
    struct Options {
        std::string listenAddress = "127.0.0.1";
        int port = 0;             // 0: a free one
        bool activeSetup = false; // start with "Duel.Control" active (otherwise none is selected)
        std::string password = "secret";
        // Adjusts the settings written before each start.
        std::function<void(kv::agent::AgentSettings&)> settings = {};
    };

    HeadlessAgent();
    explicit HeadlessAgent(Options options);
    ~HeadlessAgent();

    // Starts the agent (again, after stop(), on the same folders) and waits until its listener takes connections. False
    // with error() otherwise.
    bool start();
    // Ends the agent (SIGTERM to its group) and waits for it; the game server it runs ends with it.
    void stop();
    bool running() const { return running_; }

    const std::string& error() const { return error_; }
    AgentTestHost& host() { return host_; }
    // The current (or last) run of the agent.
    ProgramRun& program() { return *run_; }
    std::string output() const { return run_->output(); }

    int port() const { return options_.port; }
    // "address:port" as a client object takes it.
    std::string address() const;
    const std::string& adminName() const { return adminName_; }
    const std::string& password() const { return options_.password; }

private:
    Options options_;
    AgentTestHost host_;
    std::unique_ptr<ProgramRun> run_ = std::make_unique<ProgramRun>();
    std::string adminName_ = "admin";
    std::string error_;
    bool running_ = false;
};

// Whether a TCP connection to address:port is taken.
bool acceptsConnections(const std::string& address, int port);

} // namespace kv::test
