#include "common/DecimalNumber.h"

#include <climits>
#include <gtest/gtest.h>

using namespace kv;

TEST(DecimalNumber, TakesDigitsAfterBlanksAndSignUpToFirstOtherCharacter) {
    EXPECT_EQ(parseDecimalInt("42"), 42);
    EXPECT_EQ(parseDecimalInt("   -17abc"), -17);
    EXPECT_EQ(parseDecimalInt("\t+8 9"), 8);
    EXPECT_EQ(parseDecimalInt("0012"), 12);
    EXPECT_EQ(parseDecimalInt("12.9"), 12);
}

TEST(DecimalNumber, TextWithoutDigitsGivesZero) {
    EXPECT_EQ(parseDecimalInt(""), 0);
    EXPECT_EQ(parseDecimalInt("abc"), 0);
    EXPECT_EQ(parseDecimalInt("-"), 0);
    EXPECT_EQ(parseDecimalInt("  + 5"), 0);
    EXPECT_EQ(parseDecimalDouble("x1.5"), 0.0);
}

TEST(DecimalNumber, OutOfRangeSaturatesInsteadOfWrapping) {
    EXPECT_EQ(parseDecimalInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(parseDecimalInt("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(parseDecimalLong("9223372036854775807"), LLONG_MAX);
    EXPECT_EQ(parseDecimalLong("-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(parseDecimalLong("9223372036854775808"), LLONG_MAX);
}

TEST(DecimalNumber, FloatsTakeOneDecimalPoint) {
    EXPECT_DOUBLE_EQ(parseDecimalDouble(" 2.50"), 2.5);
    EXPECT_DOUBLE_EQ(parseDecimalDouble("-0.25x"), -0.25);
    EXPECT_DOUBLE_EQ(parseDecimalDouble(".5"), 0.5);
    EXPECT_DOUBLE_EQ(parseDecimalDouble("3."), 3.0);
    EXPECT_DOUBLE_EQ(parseDecimalDouble("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(parseDecimalDouble("7e3"), 7.0);
}
