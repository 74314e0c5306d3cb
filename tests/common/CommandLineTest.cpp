#include "common/CommandLine.h"

#include <gtest/gtest.h>

using namespace kv;
using Args = std::vector<std::string>;

TEST(CommandLine, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(splitCommandLine("\"/opt/kv game/System/server.bin\" GLOBAL Harbor.kvo log=\"My Setup.log\""),
              (Args{"/opt/kv game/System/server.bin", "GLOBAL", "Harbor.kvo", "log=My Setup.log"}));
    EXPECT_EQ(splitCommandLine("  a   b\t c  "), (Args{"a", "b", "c"}));
    EXPECT_EQ(splitCommandLine(""), Args{});
    EXPECT_EQ(splitCommandLine("\"\""), Args{""});
    EXPECT_EQ(splitCommandLine("a\"b c\"d"), Args{"ab cd"});
}

TEST(CommandLine, ShellCharactersAreOrdinaryText) {
    EXPECT_EQ(splitCommandLine("x;rm -rf $HOME `id` |cat"), (Args{"x;rm", "-rf", "$HOME", "`id`", "|cat"}));
}

TEST(CommandLine, BackslashesBeforeQuotes) {
    EXPECT_EQ(splitCommandLine(R"(a\\b)"), Args{R"(a\\b)"});
    EXPECT_EQ(splitCommandLine(R"(a\"b)"), Args{R"(a"b)"});
    EXPECT_EQ(splitCommandLine(R"("a\\" b)"), (Args{R"(a\)", "b"}));
    EXPECT_EQ(splitCommandLine(R"(unterminated "quote here)"), (Args{"unterminated", "quote here"}));
}

TEST(CommandLine, QuotedArgumentsComeBackUnchanged) {
    for (std::string arg : {"plain", "with blank", "", "q\"uote", "trail\\", "trail\\ x", "\\\"", "tab\there"}) {
        Args args = splitCommandLine("prog " + quoteArgument(arg) + " end");
        ASSERT_EQ(args.size(), 3u) << arg;
        EXPECT_EQ(args[1], arg);
    }
}
