#include "agent/AgentLog.h"
#include "agent/FeedList.h"
#include "agent/MemorySampler.h"
#include "agent/OutputLineList.h"
#include "agent/OutputReader.h"
#include "agent/SettingsStore.h"
#include "agent/SupervisionState.h"

#include "common/Files.h"
#include "common/Format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <thread>
#include <unistd.h>

using namespace kv;
using namespace kv::agent;

namespace {

class FixedClock : public Clock {
public:
    std::int64_t nowSeconds() const override { return 1173258303; }
};

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) == 0) {
            read = fds[0];
            write = fds[1];
        }
    }
    void closeWrite() {
        if (write >= 0)
            ::close(write);
        write = -1;
    }
    ~Pipe() { closeWrite(); }
    void put(std::string_view bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(write, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<std::size_t>(n);
        }
    }
};

bool waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500; ++i) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

class Sink : public FeedSink {
public:
    void deliver(const OutputLine& line) override { lines.push_back(line.text); }
    void feedEnded() override { ended = true; }
    std::vector<std::string> lines;
    bool ended = false;
};

} // namespace

TEST(OutputLineList, TrimsThe500OldestOrAllBeforeAppending) {
    OutputLineList list(1); // at most 102 lines before trimming
    for (int i = 0; i < 103; ++i)
        list.append(i, "line " + std::to_string(i), 0);
    EXPECT_EQ(list.size(), 103u);
    list.append(103, "the 104th", 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.all().front().text, "the 104th");

    OutputLineList big(10); // 1020 lines, 10,240 bytes: the line bound comes first here
    for (int i = 0; i < 1021; ++i)
        big.append(i, std::to_string(i), i);
    big.append(9999, "next", 7);
    ASSERT_EQ(big.size(), 522u);
    auto first = big.lines(0, 1).front();
    EXPECT_EQ(first.text, "500");
    EXPECT_EQ(first.memoryK, 500);
    OutputLine newest;
    ASSERT_TRUE(big.newest(newest));
    EXPECT_EQ(newest, (OutputLine{9999, "next", 7}));
    EXPECT_EQ(big.textBytes(), 500u * 3u + 21u * 4u + 4u);
}

TEST(OutputLineList, HoldsAtMostKTimes1024BytesOfTextDroppingThe500Oldest) {
    OutputLineList list(100); // 10,200 lines or 102,400 bytes, whichever comes first
    const std::string filler(190, 'f');
    std::size_t most = 0;
    for (int i = 0; i < 2000; ++i) {
        list.append(i, format("%9d ", i) + filler, 0); // 200 bytes
        ASSERT_LE(list.textBytes(), 102400u) << i;
        most = std::max(most, list.size());
    }
    EXPECT_EQ(most, 512u); // 512 lines fill the bound; the 513th makes room by dropping 500
    // The oldest went, the order stayed: the list is the newest lines without a gap.
    auto all = list.all();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back().time, 1999);
    for (std::size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(all[i].time, 2000 - static_cast<std::int64_t>(all.size() - i));
    EXPECT_EQ(list.textBytes(), all.size() * 200);

    // One line longer than the whole bound is kept, cut to it; with the setting lowered the next line trims.
    OutputLineList small(1);
    small.append(1, "short", 0);
    small.append(2, std::string(5000, 'x'), 0);
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small.all().front().text, std::string(1024, 'x'));
    list.setMaxConsoleLoggingRamInK(1);
    list.append(3000, "after", 0);
    EXPECT_LE(list.textBytes(), 1024u);
    EXPECT_EQ(list.all().back().text, "after");
}

TEST(OutputLineList, KeepsTextsIntactAcrossBlocksAndClears) {
    OutputLineList list(5000); // 4.5 MB of text below
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        expected.push_back(std::string(static_cast<std::size_t>(i % 16000), static_cast<char>('a' + i % 26)));
        list.append(i, expected.back(), i);
    }
    auto all = list.all();
    ASSERT_EQ(all.size(), expected.size());
    for (std::size_t i = 0; i < all.size(); i += 97)
        EXPECT_EQ(all[i].text, expected[i]);
    list.clear();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.textBytes(), 0u);
    list.append(1, "after", 0);
    EXPECT_EQ(list.all().front().text, "after");
}

TEST(OutputReader, SplitsLinesDropsTabsAndCarriageReturnsAndDetectsRunning) {
    std::string dir = (std::filesystem::temp_directory_path() / "kvagent-reader-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    OutputLineList list;
    SupervisionState state;
    state.setStatus(ServerStatus::Starting);
    state.setCurrentRamK(321);
    FeedList feeds;
    auto sink = std::make_shared<Sink>();
    feeds.add(sink);
    FixedClock clock;
    Pipe pipe;
    std::atomic<int> notified{0};
    OutputReader::Targets t;
    t.lines = &list;
    t.state = &state;
    t.feeds = &feeds;
    t.clock = &clock;
    t.runningLogPath = joinPath(dir, "run.log");
    t.linesAdded = [&] { notified++; };
    OutputReader reader(pipe.read, t);
    pipe.put("abc\r\n\tdef\nGame engine");
    pipe.put(" initialized now\npartial");
    pipe.closeWrite();
    ASSERT_TRUE(waitFor([&] { return reader.finished(); }));
    auto lines = list.all();
    ASSERT_EQ(lines.size(), 3u); // the unterminated tail is not a line
    EXPECT_EQ(lines[0].text, "abc");
    EXPECT_EQ(lines[1].text, "def");
    EXPECT_EQ(lines[2].text, "Game engine initialized now");
    EXPECT_EQ(lines[0].memoryK, 321);
    EXPECT_EQ(state.status(), ServerStatus::Running);
    EXPECT_EQ(state.runningSince(), clock.nowSeconds());
    EXPECT_EQ(sink->lines, (std::vector<std::string>{"abc", "def", "Game engine initialized now"}));
    EXPECT_GE(notified.load(), 1);
    std::string log = readFile(joinPath(dir, "run.log")).value_or("");
    EXPECT_NE(log.find("- abc\r\n"), std::string::npos);
    EXPECT_NE(log.find("- Game engine initialized now\r\n"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(OutputReader, RunningLogFollowsShowMemoryUsageWhileTheServerRuns) {
    std::string dir = (std::filesystem::temp_directory_path() / "kvagent-memlog-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    OutputLineList list;
    SupervisionState state;
    state.setCurrentRamK(321);
    SettingsStore settings;
    FixedClock clock;
    Pipe pipe;
    OutputReader::Targets t;
    t.lines = &list;
    t.state = &state;
    t.clock = &clock;
    t.runningLogPath = joinPath(dir, "run.log");
    t.settings = &settings;
    OutputReader reader(pipe.read, t);
    pipe.put("before\n");
    ASSERT_TRUE(waitFor([&] { return list.size() == 1; }));
    settings.update([](AgentSettings& s) { s.showMemoryUsage = true; });
    pipe.put("after\n");
    pipe.closeWrite();
    ASSERT_TRUE(waitFor([&] { return reader.finished(); }));
    std::string log = readFile(joinPath(dir, "run.log")).value_or("");
    auto firstEnd = log.find("\r\n");
    ASSERT_NE(firstEnd, std::string::npos);
    std::string first = log.substr(0, firstEnd + 2);
    std::string second = log.substr(firstEnd + 2);
    EXPECT_EQ(first.find("(321K)"), std::string::npos);
    EXPECT_TRUE(first.ends_with(":03- before\r\n")) << first;
    EXPECT_TRUE(second.ends_with(":03 (321K)- after\r\n")) << second;
    std::filesystem::remove_all(dir);
}

TEST(OutputReader, TheRunningLogStopsAtItsLimitWithOneLineThatSaysSo) {
    std::string dir = (std::filesystem::temp_directory_path() / "kvagent-cutlog-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    const std::string path = joinPath(dir, "run.log");
    const std::string earlier(500, 'e'); // a crashed run's log that this run goes on with
    ASSERT_TRUE(appendToFile(path, earlier));
    OutputLineList list;
    SupervisionState state;
    FixedClock clock;
    Pipe pipe;
    OutputReader::Targets t;
    t.lines = &list;
    t.state = &state;
    t.clock = &clock;
    t.runningLogPath = path;
    t.runningLogLimit = 2000;
    OutputReader reader(pipe.read, t);
    for (int i = 0; i < 100; ++i)
        pipe.put(format("line %03d\n", i));
    pipe.closeWrite();
    ASSERT_TRUE(waitFor([&] { return reader.finished(); }));
    EXPECT_EQ(list.size(), 100u); // only the log is cut, not the capture
    const std::string log = readFile(path).value_or("");
    ASSERT_EQ(log.rfind(earlier, 0), 0u);
    const std::size_t cut = log.find("- Running log cut: it reached 2000 bytes");
    ASSERT_NE(cut, std::string::npos) << log;
    EXPECT_TRUE(log.ends_with("is not written here\r\n")) << log;
    EXPECT_EQ(log.find("Running log cut", cut + 3), std::string::npos);
    // Whole lines, in order, as many as fit below the limit.
    const std::string kept = log.substr(earlier.size(), log.rfind("\r\n", cut) + 2 - earlier.size());
    const std::size_t lineSize = kept.find("\r\n") + 2; // the stamp's width depends on the time zone
    const std::size_t fit = (2000 - earlier.size()) / lineSize;
    EXPECT_EQ(kept.size(), fit * lineSize) << kept;
    EXPECT_TRUE(kept.ends_with(format("- line %03zu\r\n", fit - 1))) << kept;
    std::filesystem::remove_all(dir);
}

TEST(OutputReader, RunningIsNotClaimedForAStoppedServer) {
    OutputLineList list;
    SupervisionState state;
    state.setStatus(ServerStatus::Stopped);
    FixedClock clock;
    Pipe pipe;
    OutputReader::Targets t;
    t.lines = &list;
    t.state = &state;
    t.clock = &clock;
    OutputReader reader(pipe.read, t);
    pipe.put("Game engine initialized\n");
    pipe.closeWrite();
    ASSERT_TRUE(waitFor([&] { return reader.finished(); }));
    EXPECT_EQ(state.status(), ServerStatus::Stopped);
    EXPECT_EQ(list.size(), 1u);
}

TEST(OutputReader, AnOverlongLineEndsCaptureButThePipeIsStillDrained) {
    OutputLineList list;
    SupervisionState state;
    FixedClock clock;
    Pipe pipe;
    OutputReader::Targets t;
    t.lines = &list;
    t.state = &state;
    t.clock = &clock;
    OutputReader reader(pipe.read, t);
    pipe.put("before\n" + std::string(16382, 'x') + "\nok\n"); // 16,382 characters still make a line
    ASSERT_TRUE(waitFor([&] { return list.size() == 3; }));
    // 16,383 characters without a line feed end the capture.
    std::thread writer([&] {
        pipe.put(std::string(16383, 'y') + "\nafter\n");
        pipe.put(std::string(1 << 20, 'z')); // more than a pipe holds: only a draining reader lets this finish
        pipe.closeWrite();
    });
    writer.join();
    ASSERT_TRUE(waitFor([&] { return reader.finished(); }));
    EXPECT_TRUE(reader.overflowed());
    auto lines = list.all();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].text.size(), 16382u);
    EXPECT_EQ(lines[2].text, "ok");
}

TEST(OutputReader, StopEndsAReaderWhoseWriterStillLives) {
    OutputLineList list;
    SupervisionState state;
    FixedClock clock;
    Pipe pipe;
    OutputReader::Targets t;
    t.lines = &list;
    t.state = &state;
    t.clock = &clock;
    auto reader = std::make_unique<OutputReader>(pipe.read, t);
    reader->stop();
    reader.reset(); // joins; must not hang
    SUCCEED();
}

TEST(FeedList, EndedListTellsLateFeedsAtOnce) {
    FeedList feeds;
    auto a = std::make_shared<Sink>();
    auto b = std::make_shared<Sink>();
    EXPECT_TRUE(feeds.add(a));
    feeds.deliver({1, "one", 0});
    feeds.remove(a.get());
    EXPECT_TRUE(feeds.empty());
    EXPECT_TRUE(feeds.add(b));
    feeds.endAll();
    EXPECT_TRUE(b->ended);
    EXPECT_FALSE(a->ended);
    auto late = std::make_shared<Sink>();
    EXPECT_FALSE(feeds.add(late));
    EXPECT_TRUE(late->ended);
    EXPECT_EQ(a->lines, std::vector<std::string>{"one"});
}

TEST(MemorySampler, ParsesProcFiles) {
    auto m = MemorySampler::parseStatus("Name:\tserver\nVmHWM:\t  2048 kB\nVmRSS:\t  1024 kB\nVmSwap:\t 10 kB\n");
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->workingSet, 1024 * 1024);
    EXPECT_EQ(m->peakWorkingSet, 2048 * 1024);
    EXPECT_EQ(m->pageFile, 10 * 1024);
    EXPECT_FALSE(MemorySampler::parseStatus("Name:\tzombie\nState:\tZ\n").has_value());
    SystemMemory s;
    MemorySampler::parseMeminfo("MemTotal:  100 kB\nMemFree: 5 kB\nMemAvailable:  60 kB\n", s);
    EXPECT_EQ(s.totalBytes, 100 * 1024);
    EXPECT_EQ(s.availableBytes, 60 * 1024);
    EXPECT_EQ(MemorySampler::parseLoadavgThreads("0.10 0.20 0.30 2/345 6789\n"), 345);
    EXPECT_EQ(MemorySampler::parseLoadavgThreads("garbage"), 0);

    MemorySampler live;
    auto self = live.process(::getpid());
    ASSERT_TRUE(self.has_value());
    EXPECT_GT(self->workingSet, 0);
    EXPECT_GT(live.system().processCount, 0);
    EXPECT_FALSE(live.process(0).has_value());
}
