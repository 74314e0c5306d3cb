#include "client/RemoteControlApi.h"
#include "tests/client/ClientFixture.h"
#include "tests/support/WaitUntil.h"

#include <condition_variable>
#include <thread>

using kv::test::ClientTest;

namespace {

class RecordingMonitor : public kv::MonitorSink {
public:
    bool alive() const override { return alive_; }
    void lineAdded() override {
        std::lock_guard lock(mutex_);
        ++added;
    }
    void feedFailed(std::string text) override {
        std::lock_guard lock(mutex_);
        failures.push_back(text);
    }
    void feedEnded() override {
        std::lock_guard lock(mutex_);
        ++ended;
    }
    void monitorFinished() override {
        std::lock_guard lock(mutex_);
        finished = true;
        done_.notify_all();
    }
    bool waitFinished() {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, std::chrono::seconds(20), [&] { return finished; });
    }

    std::atomic<bool> alive_{true};
    int added = 0;
    int ended = 0;
    bool finished = false;
    std::vector<std::string> failures;

private:
    std::mutex mutex_;
    std::condition_variable done_;
};

class MonitorFeedTest : public ClientTest {
protected:
    std::vector<std::string> run(kv::CServerRemoteControl& target, std::vector<std::string> feed) {
        {
            std::lock_guard lock(agent.mutex());
            agent.feedLines = std::move(feed);
        }
        kv::MonitorThreadPtr thread(target.StartMonitor(&window, &lines));
        EXPECT_NE(thread, nullptr);
        thread->resume();
        EXPECT_TRUE(window.waitFinished());
        return lines.takeAll();
    }
    // Stops the feed from another thread, twice, as a closing window and its owner might.
    void stopFromElsewhere(kv::MonitorThread& thread) {
        std::thread stopper([&] {
            thread.stop();
            thread.stop();
        });
        stopper.join();
    }
    static bool endsWith(const std::string& text, const std::string& tail) { return text.ends_with(tail); }

    RecordingMonitor window;
    kv::MonitorLines lines;
};

// Only stop() can end these feeds in time: the peer stays silent for longer than the wait for the end.
constexpr auto kSilence = std::chrono::seconds(60);

TEST_F(MonitorFeedTest, LinesLoseCarriageReturnsAndTabsAndABreakEndsTheFeed) {
    auto got = run(*client, {"3/9/2026-7:05:04 - one\r\n", "\ttwo\tparts\n"});
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], "3/9/2026-7:05:04 - one");
    EXPECT_EQ(got[1], "twoparts");
    EXPECT_TRUE(endsWith(got[2], " - Connection to server broken")) << got[2];
    EXPECT_TRUE(endsWith(got[3], " - Ending monitoring thread")) << got[3];
    EXPECT_EQ(window.added, 2);
    EXPECT_EQ(window.ended, 0);
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(MonitorFeedTest, AGoneWindowStopsTheFeedAtTheNextLineWithoutMessage) {
    window.alive_ = false;
    auto got = run(*client, {"first\n", "second\n"});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "first");
    EXPECT_TRUE(endsWith(got[1], " - Ending monitoring thread"));
    EXPECT_EQ(window.added, 0);
}

TEST_F(MonitorFeedTest, ALineThatGrowsTooLongEndsTheFeedUnseen) {
    auto got = run(*client, {std::string(16383, 'x') + "\n", std::string(16384, 'y') + "\n"});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], std::string(16383, 'x'));
    EXPECT_TRUE(endsWith(got[1], " - Ending monitoring thread"));
}

TEST_F(MonitorFeedTest, AFeedThatCannotConnectSaysSoAndEnds) {
    auto unreachable = makeClient("no-such-host.invalid");
    auto got = run(*unreachable, {});
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(window.failures, std::vector<std::string>{"Failure connecting to server"});
    EXPECT_EQ(window.ended, 1);
}

TEST_F(MonitorFeedTest, StopEndsAFeedWaitingOnASilentAgentAfterTheCallersObjectHasGone) {
    std::atomic<bool> feeding{false};
    {
        std::lock_guard lock(agent.mutex());
        agent.overrides["MonitorFeed"] = [&](kv::CCommAsyncSocket& connection) {
            feeding = true;
            connection.SetReplyTimeout(kSilence);
            char byte = 0;
            connection.ReceiveByte(&byte); // until the client goes
            return false;
        };
    }
    kv::MonitorThreadPtr thread(client->StartMonitor(&window, &lines));
    ASSERT_NE(thread, nullptr);
    thread->resume();
    ASSERT_TRUE(kv::test::waitUntil([&] { return feeding.load(); }, std::chrono::seconds(10)));
    client.reset(); // the feed must not lean on it (ASan sees any use)
    stopFromElsewhere(*thread);
    EXPECT_TRUE(window.waitFinished());
    thread.reset();
    auto got = lines.takeAll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(endsWith(got[0], " - Ending monitoring thread")) << got[0];
    EXPECT_TRUE(window.failures.empty());
    EXPECT_EQ(window.ended, 0);
}

TEST_F(MonitorFeedTest, StopEndsAFeedWhoseAgentNeverAnswersTheHandshake) {
    kv::CCommAsyncSocket listener, peer;
    ASSERT_TRUE(listener.CreateBound(0, SOCK_STREAM, "127.0.0.1") && listener.Listen());
    kv::RemoteControlOptions options;
    options.context = kv::test::testClientContext();
    options.replyTimeout = kSilence;
    options.trust = kv::TrustSettings{trustFile(), policy};
    kv::CServerRemoteControl mute("127.0.0.1:" + std::to_string(listener.LocalPort()), "admin", "secret", options);
    kv::MonitorThreadPtr thread(mute.StartMonitor(&window, &lines));
    thread->resume();
    ASSERT_TRUE(listener.AcceptInto(peer));
    stopFromElsewhere(*thread);
    EXPECT_TRUE(window.waitFinished());
    // The window asked for the end: it hears of no failure, and the feed never began.
    EXPECT_TRUE(window.failures.empty());
    EXPECT_TRUE(lines.takeAll().empty());
    int trust = -1;
    EXPECT_EQ(thread->agentIdentity(&trust, nullptr, nullptr), 0);
    EXPECT_EQ(trust, KVSM_AGENT_NO_CONTACT);
}

TEST_F(MonitorFeedTest, TheFeedReportsWhatItsOwnContactFoundOutAboutTheAgent) {
    kv::MonitorThreadPtr thread(client->StartMonitor(&window, &lines));
    thread->resume();
    ASSERT_TRUE(window.waitFinished());
    int trust = -1;
    std::string presented, recorded;
    EXPECT_EQ(thread->agentIdentity(&trust, &presented, &recorded), 1);
    EXPECT_EQ(trust, KVSM_AGENT_RECORDED); // first contact, trusted on first use
    EXPECT_FALSE(presented.empty());
    EXPECT_EQ(recorded, presented);
    EXPECT_EQ(client->LastAgentTrust(), kv::AgentTrust::NoContact); // the caller's object was never used
}

} // namespace
