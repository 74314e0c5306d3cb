#include "common/protocol/FeedLine.h"
#include "common/protocol/FeedLineAssembler.h"
#include "common/protocol/ProtocolWords.h"

#include <gtest/gtest.h>

using namespace kv::protocol;

namespace {

TEST(FeedLine, FormatWithAndWithoutMemory) {
    kv::LocalTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 9;
    t.hour = 7;
    t.minute = 5;
    t.second = 4;
    EXPECT_EQ(formatFeedLine(t, std::nullopt, "Game engine initialized"),
              "3/9/2026-7:05:04 - Game engine initialized\n");
    EXPECT_EQ(formatFeedLine(t, 51200L, "x"), "3/9/2026-7:05:04 (51200K) - x\n");
    EXPECT_EQ(formatFeedNotice(t, kFeedEnding), "3/9/2026 7:05:04 - Ending monitoring thread");
}

std::vector<std::string> assemble(const std::string& bytes, FeedLineAssembler::Step* last = nullptr) {
    FeedLineAssembler assembler;
    std::vector<std::string> lines;
    for (char c : bytes) {
        auto step = assembler.add(c);
        if (last)
            *last = step;
        if (step == FeedLineAssembler::Step::Line)
            lines.push_back(assembler.line());
        if (step == FeedLineAssembler::Step::TooLong)
            break;
    }
    return lines;
}

TEST(FeedLineAssembler, CarriageReturnsAndTabsAreDropped) {
    EXPECT_EQ(assemble("a\tb\r\n\nlast"), (std::vector<std::string>{"ab", ""}));
}

TEST(FeedLineAssembler, ALineMayHoldTheLimitButNotOneMore) {
    FeedLineAssembler::Step last{};
    std::string full(kFeedLineLimit, 'x');
    EXPECT_EQ(assemble(full + "\n", &last), std::vector<std::string>{full});
    EXPECT_TRUE(assemble(full + "y\n", &last).empty());
    EXPECT_EQ(last, FeedLineAssembler::Step::TooLong);
}

} // namespace
