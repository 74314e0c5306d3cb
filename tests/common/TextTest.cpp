#include "common/Text.h"

#include <gtest/gtest.h>

using namespace kv;
using Fields = std::vector<std::string>;

TEST(Text, CaseInsensitivePrefixAndEquality) {
    EXPECT_TRUE(startsWithNoCase("M_CSNAME=abc", "m_csName="));
    EXPECT_TRUE(startsWithNoCase("Login", ""));
    EXPECT_FALSE(startsWithNoCase("Log", "Login"));
    EXPECT_FALSE(startsWithNoCase("m_csNam", "m_csName"));
    EXPECT_TRUE(equalsNoCase("RUNNING", "running"));
    EXPECT_FALSE(equalsNoCase("Running ", "running"));
    // Only ASCII letters fold; other bytes compare as they are.
    EXPECT_FALSE(equalsNoCase("\xC4", "\xE4"));
    EXPECT_EQ(findNoCase("xx Game Engine INITIALIZED", "game engine initialized"), 3u);
    EXPECT_EQ(findNoCase("abc", "abcd"), std::string::npos);
}

TEST(Text, ConsecutiveCommasCountAsOneSeparator) {
    EXPECT_EQ(splitCommas("a,b,c"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(splitCommas("a,,b,,,c"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(splitCommas(",a,b,"), (Fields{"a", "b"}));
    EXPECT_EQ(splitCommas(""), Fields{});
    EXPECT_EQ(splitCommas(",,,"), Fields{});
    EXPECT_EQ(splitCommas("one field"), Fields{"one field"});
}

TEST(Text, TrimmingAndLineBreaks) {
    EXPECT_EQ(trimRight("abc \t\r\n"), "abc");
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(chompLineBreak("line\r\n"), "line");
    EXPECT_EQ(chompLineBreak("line\n"), "line");
    EXPECT_EQ(chompLineBreak("line\r"), "line\r");
    EXPECT_EQ(chompLineBreak("line\n\n"), "line\n");
    EXPECT_EQ(replaceAll("a<BR>b<BR>", "<BR>", "\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
}
