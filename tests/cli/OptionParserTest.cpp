#include "cli/OptionParser.h"

#include <gtest/gtest.h>

using kv::cli::OptionParser;

namespace {

OptionParser parser() {
    OptionParser p;
    p.value("workdir").value("auth-user").flag("detailed");
    return p;
}

} // namespace

TEST(OptionParser, ValuesFlagsAndPositionals) {
    OptionParser p = parser();
    ASSERT_TRUE(p.parse({"--workdir", "/w", "Name One", "--detailed", "--auth-user=a=b", "--", "--not-an-option"}));
    EXPECT_EQ(p.get("workdir"), "/w");
    EXPECT_EQ(p.get("auth-user"), "a=b");
    EXPECT_TRUE(p.has("detailed"));
    EXPECT_FALSE(p.has("other"));
    EXPECT_EQ(p.get("missing", "fallback"), "fallback");
    EXPECT_EQ(p.positionals(), (std::vector<std::string>{"Name One", "--not-an-option"}));
}

TEST(OptionParser, EmptyValuesAndDashesArePositionalsOrValues) {
    OptionParser p = parser();
    ASSERT_TRUE(p.parse({"--auth-user=", "-", "--workdir", "--detailed"}));
    EXPECT_EQ(p.get("auth-user"), "");
    EXPECT_EQ(p.get("workdir"), "--detailed"); // a value is taken as it stands
    EXPECT_FALSE(p.has("detailed"));
    EXPECT_EQ(p.positionals(), (std::vector<std::string>{"-"}));
}

TEST(OptionParser, MistakesAreReported) {
    OptionParser p = parser();
    EXPECT_FALSE(p.parse({"--frob"}));
    EXPECT_EQ(p.error(), "Unknown option --frob.");
    EXPECT_FALSE(p.parse({"--workdir"}));
    EXPECT_EQ(p.error(), "Option --workdir needs a value.");
    EXPECT_FALSE(p.parse({"--detailed=yes"}));
    EXPECT_EQ(p.error(), "Option --detailed takes no value.");
    EXPECT_TRUE(p.parse({"x"}));
    EXPECT_TRUE(p.error().empty());
}
