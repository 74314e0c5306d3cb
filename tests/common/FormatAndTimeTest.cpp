#include "common/Format.h"
#include "common/LocalTime.h"
#include "common/Md5.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

using namespace kv;

TEST(Format, UsesThePrintfFormatsAsGiven) {
    EXPECT_EQ(format("%d/%d/%d - %d:%2.2d:%2.2d - %s", 3, 7, 2026, 9, 5, 0, "msg"), "3/7/2026 - 9:05:00 - msg");
    EXPECT_EQ(format("%4.1f", 3.14159), " 3.1");
    EXPECT_EQ(format("%4.2f", 1.0), "1.00");
    EXPECT_EQ(format("%ld", 1234567890123L), "1234567890123");
    std::string big(5000, 'x');
    EXPECT_EQ(format("[%s]", big.c_str()).size(), 5002u);
    std::string out = "a";
    appendFormat(out, "%s=%d", "k", 5);
    EXPECT_EQ(out, "ak=5");
}

TEST(LocalTime, BreaksDownInTheLocalZone) {
    // Pin the zone so that the figures are known.
    const char* old = std::getenv("TZ");
    std::string saved = old ? old : "";
    setenv("TZ", "UTC", 1);
    tzset();
    LocalTime t = toLocalTime(1767225599); // 2025-12-31 23:59:59 UTC
    EXPECT_EQ(t.year, 2025);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_EQ(t.second, 59);
    setenv("TZ", "EST5", 1);
    tzset();
    EXPECT_EQ(toLocalTime(1767225599).hour, 18);
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_GT(currentSeconds(), 1700000000);
}

TEST(Md5, GivesThirtyTwoLowerCaseHexDigits) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("password"), "5f4dcc3b5aa765d61d8327deb882cf99");
    EXPECT_EQ(md5Hex(std::string("a\0b", 3)), md5Hex(std::string("a\0b", 3)));
    EXPECT_NE(md5Hex(std::string("a\0b", 3)), md5Hex("a"));
}
