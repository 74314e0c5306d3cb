#include "tests/client/ClientFixture.h"

#include <condition_variable>

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
        kv::MonitorThread* thread = target.StartMonitor(&window, &lines);
        EXPECT_NE(thread, nullptr);
        thread->resume();
        EXPECT_TRUE(window.waitFinished());
        return lines.takeAll();
    }
    static bool endsWith(const std::string& text, const std::string& tail) { return text.ends_with(tail); }

    RecordingMonitor window;
    kv::MonitorLines lines;
};

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

} // namespace
