// A remote monitor feed against kvagent --headless and the simulator: however the run ends, by the user's stop or by
// a crash, the last line the feed gets from the agent is the run's alert.
#include "client/CServerRemoteControl.h"
#include "common/protocol/FeedLine.h"
#include "tests/agent/HeadlessAgent.h"
#include "tests/support/Processes.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestIdentity.h"
#include "tests/support/WaitUntil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <mutex>

using namespace std::chrono_literals;
using testing::EndsWith;
using testing::HasSubstr;

namespace {

// One feed followed to its end: every line it brought, the client's closing notices included.
class FollowedFeed final : public kv::MonitorSink {
public:
    explicit FollowedFeed(kv::CServerRemoteControl& client) : thread_(client.StartMonitor(this, &lines_)) {
        if (thread_)
            thread_->resume();
    }
    ~FollowedFeed() override { thread_.reset(); }

    bool alive() const override { return true; }
    void lineAdded() override {}
    void feedFailed(std::string) override {}
    void feedEnded() override {}
    void monitorFinished() override { finished_ = true; }

    bool finished() const { return finished_; }
    bool has(const std::string& part) {
        const std::vector<std::string> all = got();
        return std::any_of(all.begin(), all.end(), [&](const std::string& l) { return l.find(part) != l.npos; });
    }
    std::vector<std::string> got() {
        std::lock_guard lock(mutex_);
        for (std::string& line : lines_.takeAll())
            got_.push_back(std::move(line));
        return got_;
    }

private:
    kv::MonitorLines lines_;
    std::atomic<bool> finished_{false};
    std::mutex mutex_;
    std::vector<std::string> got_;
    kv::MonitorThreadPtr thread_;
};

class KvagentFeed : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(agent.start()) << agent.error();
        options.context = kv::test::testClientContext();
        options.trust = kv::TrustSettings{trustFolder.file("known_agents")};
    }

    std::unique_ptr<kv::CServerRemoteControl> client() {
        return std::make_unique<kv::CServerRemoteControl>(agent.address(), agent.adminName(), agent.password(),
                                                          options);
    }
    bool running() {
        std::string setup, status, map, description, admin, player;
        std::uint32_t up = 0;
        int crashes = 0;
        std::int32_t ram = 0, peak = 0;
        client()->GetServerStatus(setup, status, map, description, admin, player, up, crashes, ram, peak);
        return status == "Running";
    }
    // The feed's lines end with the alert, then the client's two closing notices.
    static void expectEndsWithAlert(const std::vector<std::string>& got, const std::string& alert) {
        ASSERT_GE(got.size(), 3u);
        EXPECT_THAT(got[got.size() - 3], HasSubstr(alert));
        EXPECT_THAT(got[got.size() - 2], EndsWith(kv::protocol::kFeedBroken));
        EXPECT_THAT(got.back(), EndsWith(kv::protocol::kFeedEnding));
    }

    kv::test::HeadlessAgent agent{{.activeSetup = true}};
    kv::test::TempDir trustFolder;
    kv::RemoteControlOptions options;
};

TEST_F(KvagentFeed, TheRunsAlertIsTheLastLineOfEveryFeedThatFollowsIt) {
    ASSERT_TRUE(kv::test::waitUntil([&] { return running(); }, 30s, 100ms)) << agent.output();

    // Stopped by the user: the alert comes when the server has gone; the next start ends the run and the feed.
    {
        FollowedFeed feed(*client());
        ASSERT_TRUE(kv::test::waitUntil([&] { return feed.has("Game engine initialized"); }, 30s));
        ASSERT_TRUE(client()->StopServer());
        ASSERT_TRUE(kv::test::waitUntil([&] { return feed.has("ALERT - Server Stopped By User"); }, 30s))
            << agent.output();
        ASSERT_TRUE(client()->StartServer());
        ASSERT_TRUE(kv::test::waitUntil([&] { return feed.finished(); }, 30s));
        expectEndsWithAlert(feed.got(), " - ALERT - Server Stopped By User");
    }

    // Crashed (killed): the crash restart ends the run and the feed.
    ASSERT_TRUE(kv::test::waitUntil([&] { return running(); }, 30s, 100ms)) << agent.output();
    FollowedFeed feed(*client());
    ASSERT_TRUE(kv::test::waitUntil([&] { return feed.has("Game engine initialized"); }, 30s));
    const std::vector<pid_t> servers = kv::test::childrenOf(agent.program().process().pid());
    ASSERT_EQ(servers.size(), 1u);
    ASSERT_EQ(::kill(servers[0], SIGKILL), 0);
    ASSERT_TRUE(kv::test::waitUntil([&] { return feed.finished(); }, 30s)) << agent.output();
    expectEndsWithAlert(feed.got(), " - ALERT - Server Stopped By Crash Or Task Manager after 0 minutes");
}

} // namespace
