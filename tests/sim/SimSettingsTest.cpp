#include "sim/SimSettings.h"

#include <gtest/gtest.h>

using namespace kv::sim;

TEST(SimSettings, FileLinesAndLaterValuesWin) {
    KeyValues knobs = parseKnobFile("# comment\n\n KVSIM_ADMIN_PORT = 40001 \r\nKVSIM_IGNORE_SHUTDOWN=yes\nnoequals\n");
    ASSERT_EQ(knobs.size(), 2u);
    knobs.emplace_back("KVSIM_ADMIN_PORT", "40002"); // e.g. from the environment
    knobs.emplace_back("KVSIM_CRASH_AFTER", "1.5");
    SimSettings s;
    std::vector<std::string> warnings;
    applyKnobs(s, knobs, warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(s.adminPort, 40002);
    EXPECT_TRUE(s.ignoreShutdown);
    EXPECT_DOUBLE_EQ(s.crashAfterSeconds, 1.5);
    EXPECT_EQ(s.queryPort, 1717);
}

TEST(SimSettings, UnusableValuesAreReportedAndIgnored) {
    SimSettings s;
    std::vector<std::string> warnings;
    applyKnobs(s,
               {{"KVSIM_ADMIN_PORT", "70000"}, {"KVSIM_QUERY_PORT", "12ab"}, {"KVSIM_PLAYERS", "65"},
                {"KVSIM_LONG_LINE", "maybe"}, {"KVSIM_CRASH_AFTER", "-1"}, {"KVSIM_NOPE", "1"},
                {"KVSIM_START_DELAY_MS", "99999999999"}, {"KVSIM_FLOOD_RATE", "fast"}, {"KVSIM_FLOOD_RATE", "-5"}},
               warnings);
    EXPECT_EQ(warnings.size(), 9u);
    EXPECT_EQ(s.floodRate, 0);
    EXPECT_EQ(s.adminPort, 49600);
    EXPECT_EQ(s.queryPort, 1717);
    EXPECT_EQ(s.players, 4);
    EXPECT_FALSE(s.longLine);
    EXPECT_EQ(s.crashAfterSeconds, 0);
    EXPECT_EQ(s.startDelayMs, 1000);
}
