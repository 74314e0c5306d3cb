// kvsm remote against kvagent --headless: two programs, the library loaded by kvsm, the simulated game server.
#include "agent/SettingsFile.h"
#include "common/Files.h"
#include "common/Md5.h"
#include "tests/agent/AgentTestHost.h"
#include "tests/support/FreePort.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;
using testing::HasSubstr;

namespace {

class KvagentRemote : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.ok()) << host.error();
        kv::agent::AgentSettings settings = host.settings();
        settings.activeControlFile.clear();
        settings.serverIp = "127.0.0.1";
        settings.remoteControlServerPort = port;
        settings.md5Password = kv::md5Hex("secret");
        ASSERT_TRUE(host.writeSettings(settings));
        std::string error;
        ASSERT_TRUE(agent.start({KV_BIN_DIR "/kvagent", "--headless", "--workdir", host.workFolder(), "--admin-port",
                                 std::to_string(host.adminPort()), "--cleanup-ms", "300", "--stop-grace-ms", "300"},
                                {}, {}, &error))
            << error;
        ASSERT_TRUE(agent.waitForLine("(headless)", 10s)) << agent.output();
        std::optional<std::string> identity = agent.waitForLine("SHA-256 fingerprint ", 10s);
        ASSERT_TRUE(identity) << agent.output();
        fingerprint = identity->substr(identity->find("fingerprint ") + 12);
    }
    void TearDown() override {
        agent.process().signalGroup(SIGTERM);
        agent.waitForExit(15s);
    }

    std::pair<int, std::string> kvsm(std::vector<std::string> arguments) {
        std::vector<std::string> command{KV_BIN_DIR "/kvsm", "remote"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        for (const std::string& option : {"--host=127.0.0.1:" + std::to_string(port), std::string("--user=admin")})
            command.push_back(option);
        kv::test::ProgramRun run;
        if (!run.start(command,
                       {{"KVSM_PASSWORD", "secret"},
                        {"KVSM_TRUST_FILE", client.file("known_agents")},
                        {"XDG_DATA_HOME", client.path()}},
                       host.workFolder()))
            return {-1, "kvsm did not start"};
        int status = run.waitForExit(30s).value_or(-1);
        return {status, run.output()};
    }

    kv::test::AgentTestHost host;
    int port = kv::test::freeTcpPort();
    kv::test::ProgramRun agent;
    std::string fingerprint; // as the agent printed it at start
    kv::test::TempDir client;
};

TEST_F(KvagentRemote, ActivateRunsTheServerAndStopEndsIt) {
    auto [listed, setups] = kvsm({"setups"});
    ASSERT_EQ(listed, 0) << setups << agent.output();
    // The first contact pins what the agent printed at start.
    EXPECT_THAT(setups, HasSubstr("first contact with 127.0.0.1:" + std::to_string(port) +
                                  "; its identity (SHA-256 fingerprint " + fingerprint + ")"));
    EXPECT_THAT(setups, HasSubstr("Duel\tHarbor.kvo\tGLOBAL\t"));

    ASSERT_EQ(kvsm({"activate", "Duel"}).first, 0);
    std::string status;
    for (int i = 0; i < 50 && status.find("Status: Running") == std::string::npos; ++i) {
        status = kvsm({"status"}).second;
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_THAT(status, HasSubstr("Status: Running\nSetup: Duel\nMap: Harbor.kvo\n"));

    ASSERT_EQ(kvsm({"stop"}).first, 0);
    for (int i = 0; i < 50 && status.find("Status: Stopped") == std::string::npos; ++i) {
        status = kvsm({"status"}).second;
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_THAT(status, HasSubstr("Status: Stopped"));
    EXPECT_TRUE(agent.hasLine("KVSM Stop Server Request from IP 127.0.0.1")) << agent.output();
}

} // namespace
