#include "tests/sim/KvsimFixture.h"

#include "common/ChildProcess.h"
#include "common/CommandLine.h"

#include "tests/support/WaitUntil.h"

#include <csignal>
#include <thread>

using namespace std::chrono_literals;

TEST_F(KvsimTest, CrashesAfterTheGivenTime) {
    configure({{"KVSIM_CRASH_AFTER", "0.5"}, {"KVSIM_CRASH_CODE", "7"}});
    auto begin = std::chrono::steady_clock::now();
    startLine(agentLine("Harbor.kvo", ini));
    EXPECT_EQ(run.waitForExit(10s), 7) << run.output();
    EXPECT_GE(std::chrono::steady_clock::now() - begin, 500ms);
    EXPECT_TRUE(run.hasLine("Game engine initialized"));
    EXPECT_TRUE(run.hasLine("simulated crash"));
    EXPECT_FALSE(run.hasLine("Exiting due to error"));
}

TEST_F(KvsimTest, IgnoresShutdownAndSigtermWhenAsked) {
    configure({{"KVSIM_IGNORE_SHUTDOWN", "1"}});
    // Settings from the environment win over kvsim.conf.
    startLine(agentLine("Harbor.kvo", ini), {{"KVSIM_IGNORE_SIGTERM", "true"}});
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s));
    ASSERT_TRUE(sendAdmin("SHUTDOWN\r"));
    ASSERT_TRUE(run.waitForLine("SHUTDOWN received from 127.0.0.1", 5s)) << run.output();
    EXPECT_TRUE(run.hasLine("ignored"));
    run.process().terminate();
    ASSERT_TRUE(run.waitForLine("SIGTERM ignored", 5s));
    EXPECT_FALSE(run.process().waitFor(300ms).has_value());
    run.process().kill();
    EXPECT_EQ(run.waitForExit(10s), 128 + SIGKILL);
}

TEST_F(KvsimTest, FloodsTheGivenNumberOfLinesInOrderThenIdles) {
    const int total = 20000;
    configure({{"KVSIM_FLOOD_LINES", std::to_string(total)}});
    startLine(agentLine("Harbor.kvo", ini));
    ASSERT_TRUE(run.waitForLine("Flood line 20000 of 20000", 20s)) << run.lineCount();
    int expected = 1;
    for (const auto& line : run.lines()) {
        if (line.find("Flood line ") == std::string::npos)
            continue;
        ASSERT_EQ(line.substr(0, line.find(" of ")), "Log: Flood line " + std::to_string(expected));
        ++expected;
    }
    EXPECT_EQ(expected, total + 1);
    std::size_t after = run.lineCount();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(run.lineCount(), after) << "no game lines after a flood";
    ASSERT_TRUE(sendAdmin("SHUTDOWN\r"));
    EXPECT_EQ(run.waitForExit(10s), 0);
}

// A paced flood: every line in order, stamped, and line n never written before n / rate seconds after the first.
TEST_F(KvsimTest, PacesAFloodAtTheGivenRate) {
    const int total = 1000, rate = 2000;
    configure({{"KVSIM_FLOOD_LINES", std::to_string(total)}, {"KVSIM_FLOOD_RATE", std::to_string(rate)}});
    startLine(agentLine("Harbor.kvo", ini));
    ASSERT_TRUE(run.waitForLine("Flood line 1000 of 1000, sent at ", 20s)) << run.output();
    int expected = 1;
    double first = 0, previous = 0;
    for (const auto& line : run.lines()) {
        std::size_t at = line.find(", sent at ");
        if (line.find("Flood line ") == std::string::npos)
            continue;
        ASSERT_NE(at, std::string::npos) << line;
        ASSERT_EQ(line.substr(0, line.find(" of ")), "Log: Flood line " + std::to_string(expected));
        double sent = std::stod(line.substr(at + 10));
        if (expected == 1)
            first = previous = sent;
        EXPECT_GE(sent, previous) << line;
        previous = sent;
        ++expected;
    }
    EXPECT_EQ(expected, total + 1);
    EXPECT_GE(previous - first, (total - 1) / double(rate) - 0.002) << "the flood ran ahead of its rate";
    ASSERT_TRUE(sendAdmin("SHUTDOWN\r"));
    EXPECT_EQ(run.waitForExit(10s), 0);
}

TEST_F(KvsimTest, PrintsOneOverlongLineWithoutLineFeed) {
    configure({{"KVSIM_LONG_LINE", "1"}, {"KVSIM_LINE_INTERVAL_MS", "0"}});
    startLine(agentLine("Harbor.kvo", ini));
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s));
    EXPECT_TRUE(kv::test::waitUntil([&] { return run.pendingText().size() >= 16383; }, 5s));
    EXPECT_EQ(run.pendingText().size(), 16383u);
    EXPECT_TRUE(run.process().running());
    run.process().terminate();
    EXPECT_EQ(run.waitForExit(10s), 0);
}

TEST_F(KvsimTest, AReaderThatStopsReadingHoldsNothingUp) {
    configure({{"KVSIM_FLOOD_LINES", "1000000"}});
    kv::ChildProcess server; // nobody reads its output: the pipe fills up at once
    kv::ProcessOptions options;
    options.arguments = kv::splitCommandLine(agentLine("Harbor.kvo", ini));
    ASSERT_TRUE(server.start(options));
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(sendAdmin("SHUTDOWN\r")) << "the admin port still answers";
    EXPECT_EQ(server.waitFor(15s), 0);
}
