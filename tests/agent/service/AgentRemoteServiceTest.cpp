// The whole agent behind its remote service: the client starts the simulated game server, reads its status,
// follows its output and stops it, while the test's main thread runs the agent's event loop.
#include "agent/service/AgentRemoteService.h"
#include "agent/Agent.h"
#include "client/CServerRemoteControl.h"
#include "common/Md5.h"
#include "tests/support/TestIdentity.h"
#include "tests/agent/AgentTestHost.h"
#include "tests/support/FreePort.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>

#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_agent_remote";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance = new QCoreApplication(argc, argv);
    return *instance;
}

// Runs the agent's event loop until the client work on another thread is done.
template <typename T> T pumpUntil(std::future<T>& work, std::chrono::seconds timeout = 60s) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (work.wait_for(5ms) != std::future_status::ready && std::chrono::steady_clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return work.get();
}

class Monitor : public kv::MonitorSink {
public:
    bool alive() const override { return true; }
    void lineAdded() override {}
    void feedFailed(std::string) override {}
    void feedEnded() override {}
    void monitorFinished() override { finished = true; }
    std::atomic<bool> finished{false};
};

TEST(AgentRemoteService, TheClientRunsTheGameServerThroughTheAgent) {
    app();
    kv::test::AgentTestHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    kv::agent::AgentSettings settings = host.settings();
    settings.activeControlFile.clear(); // nothing runs until the client asks
    settings.serverIp = "127.0.0.1";
    settings.remoteControlServerPort = kv::test::freeTcpPort();
    settings.md5Password = kv::md5Hex("secret");
    kv::SystemClock clock;
    kv::agent::AgentEnvironment env;
    env.workDir = host.workFolder();
    env.clock = &clock;
    env.adminPort = host.adminPort();
    env.cleanupAfterSend = 300ms;
    env.stopGrace = 300ms;
    kv::agent::Agent agent(env, settings);
    kv::agent::service::AgentRemoteService service(agent);
    ASSERT_TRUE(service.start());
    agent.begin();

    kv::test::TempDir trustFolder;
    kv::RemoteControlOptions options;
    options.context = kv::test::testClientContext();
    options.trust = kv::TrustSettings{trustFolder.file("known_agents")};
    const std::string address = "127.0.0.1:" + std::to_string(service.port());
    auto client = [&] { return std::make_unique<kv::CServerRemoteControl>(address, "Admin", "secret", options); };

    auto statusOf = [&] {
        std::string setup, status, map, description, admin, player;
        std::uint32_t up = 0;
        int crashes = 0;
        std::int32_t ram = 0, peak = 0;
        client()->GetServerStatus(setup, status, map, description, admin, player, up, crashes, ram, peak);
        return status + "|" + setup + "|" + map;
    };

    // Activating the configuration starts it; the status follows it to Running.
    auto started = std::async(std::launch::async, [&] {
        if (!client()->ActivateConfiguration("Duel"))
            return std::string("activate failed");
        std::string seen;
        for (int i = 0; i < 100 && seen.rfind("Running", 0) != 0; ++i) {
            seen = statusOf();
            std::this_thread::sleep_for(100ms);
        }
        return seen;
    });
    EXPECT_EQ(pumpUntil(started), "Running|Duel|Harbor.kvo");
    EXPECT_EQ(agent.settings().snapshot().activeControlFile, "Duel.Control");

    // The feed brings the output so far; when the run ends (its monitor window closed) so does the feed.
    auto feedClient = client();
    Monitor window;
    kv::MonitorLines lines;
    std::vector<std::string> got;
    kv::MonitorThreadPtr feed(feedClient->StartMonitor(&window, &lines));
    auto fed = std::async(std::launch::async, [&] {
        feed->resume();
        for (int i = 0; i < 200 && got.empty(); ++i) {
            for (auto& line : lines.takeAll())
                got.push_back(line);
            std::this_thread::sleep_for(50ms);
        }
        return !got.empty();
    });
    EXPECT_TRUE(pumpUntil(fed));
    auto stopped = std::async(std::launch::async, [&] { return client()->StopServer(); });
    EXPECT_TRUE(pumpUntil(stopped));
    agent.closeRun();
    auto finished = std::async(std::launch::async, [&] {
        for (int i = 0; i < 400 && !window.finished; ++i)
            std::this_thread::sleep_for(50ms);
        return window.finished.load();
    });
    ASSERT_TRUE(pumpUntil(finished));
    for (auto& line : lines.takeAll())
        got.push_back(line);
    ASSERT_GE(got.size(), 3u);
    EXPECT_THAT(got.back(), testing::EndsWith(" - Ending monitoring thread"));
    EXPECT_THAT(got[got.size() - 2], testing::EndsWith(" - Connection to server broken"));

    auto access = agent.accessLog().lines();
    EXPECT_TRUE(std::any_of(access.begin(), access.end(), [](const std::string& line) {
        return line.find("KVSM Stop Server Request from IP 127.0.0.1") != std::string::npos;
    }));
    agent.shutDown();
}

} // namespace
