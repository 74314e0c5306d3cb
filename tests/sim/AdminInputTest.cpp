#include "sim/AdminInput.h"

#include <gtest/gtest.h>

using namespace kv::sim;
using Commands = std::vector<std::string>;

TEST(AdminInput, CommandsEndAtCarriageReturnOrLineFeedAcrossPieces) {
    AdminInput input;
    EXPECT_EQ(input.feed("SHUT"), Commands{});
    EXPECT_EQ(input.feed("DOWN\r"), Commands{"SHUTDOWN"});
    EXPECT_EQ(input.feed("\r\n\nSTATUS\r\nSHUTDOWN\r"), (Commands{"STATUS", "SHUTDOWN"}));
    EXPECT_EQ(input.feed(std::string("a\0b\n", 4)), Commands{std::string("a\0b", 3)});
    EXPECT_FALSE(input.overflowed());
}

TEST(AdminInput, OverlongCommandOverflowsOnceAndForAll) {
    AdminInput input;
    EXPECT_TRUE(input.feed(std::string(AdminInput::kMaxCommand + 1, 'x')).empty());
    EXPECT_TRUE(input.overflowed());
    EXPECT_TRUE(input.feed("SHUTDOWN\r").empty());
    EXPECT_EQ(printableCommand(std::string("a\x01" "b", 3)), "a?b");
    EXPECT_EQ(printableCommand(std::string(100, 'y')), std::string(60, 'y') + "...");
}
