// kvsm remote against kvagent --headless: two programs, the library loaded by kvsm, the simulated game server.
#include "agent/SettingsFile.h"
#include "common/Files.h"
#include "common/Md5.h"
#include "common/channel/CCommAsyncSocket.h"
#include "tests/agent/AgentTestHost.h"
#include "tests/support/FreePort.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestIdentity.h"
#include "tests/support/WaitUntil.h"

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

TEST_F(KvagentRemote, AnAgentKilledInTheMiddleOfAnUploadKeepsTheOldPairAndClearsTheRestAtItsNextStart) {
    const std::string configurations = kv::joinPath(host.workFolder(), "Configurations");
    const auto oldIni = kv::readFile(kv::joinPath(configurations, "Duel.ini"));
    const auto oldControl = kv::readFile(kv::joinPath(configurations, "Duel.Control"));
    ASSERT_TRUE(oldIni && oldControl);
    auto halfWritten = [&] {
        for (const std::string& name : kv::listDirectory(configurations))
            if (name.find(".tmp-") != std::string::npos)
                return true;
        return false;
    };

    kv::CCommAsyncSocket upload(kv::test::testClientContext());
    upload.SetTimeouts(5s, 5s);
    // The fingerprint is printed before the listener opens.
    ASSERT_TRUE(kv::test::waitUntil([&] { return upload.ConnectTo("127.0.0.1", static_cast<unsigned>(port)) == 1; },
                                    10s));
    ASSERT_GT(upload.SendAll(std::string("Login\nadmin\nsecret\nUploadConfiguration\nDuel\nLAN\nHarbor.kvo\nadm\n"
                                         "play\nnew\n[EndDescription]\n")),
              0);
    char verdict = 0;
    ASSERT_EQ(upload.ReceiveByte(&verdict), 1);
    ASSERT_EQ(verdict, 1);
    std::string line;
    ASSERT_GE(upload.ReceiveLine(line, 128), 0);
    ASSERT_EQ(line, "[SendConfig]");
    // Enough of a new .ini that the agent has written part of it, never the end marker.
    const std::string part = std::string(1000, 'x') + "\n";
    for (int i = 0; i < 600 && !halfWritten(); ++i)
        ASSERT_GT(upload.SendAll(part), 0);
    ASSERT_TRUE(kv::test::waitUntil(halfWritten, 10s));
    agent.process().signalGroup(SIGKILL);
    ASSERT_TRUE(agent.waitForExit(10s).has_value());

    EXPECT_EQ(kv::readFile(kv::joinPath(configurations, "Duel.ini")), oldIni);
    EXPECT_EQ(kv::readFile(kv::joinPath(configurations, "Duel.Control")), oldControl);
    kv::test::ProgramRun again;
    ASSERT_TRUE(again.start({KV_BIN_DIR "/kvagent", "--headless", "--workdir", host.workFolder(), "--admin-port",
                             std::to_string(host.adminPort())}));
    ASSERT_TRUE(again.waitForLine("SHA-256 fingerprint", 10s)) << again.output();
    EXPECT_TRUE(kv::test::waitUntil([&] { return !halfWritten(); }, 10s));
    EXPECT_EQ(kv::readFile(kv::joinPath(configurations, "Duel.ini")), oldIni);
    EXPECT_EQ(kv::readFile(kv::joinPath(configurations, "Duel.Control")), oldControl);
    again.process().signalGroup(SIGTERM);
    EXPECT_EQ(again.waitForExit(15s).value_or(-1), 0) << again.output();
}

} // namespace
