#include "common/DecimalNumber.h"

#include <climits>
#include <cstddef>

namespace kv {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Skips blanks and takes a sign; returns the position of the first digit candidate.
std::size_t skipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

} // namespace

long long parseDecimalLong(std::string_view text) {
    bool negative = false;
    std::size_t i = skipBlanksAndSign(text, negative);
    // Accumulate as a negative number so that LLONG_MIN is reachable.
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        int digit = text[i] - '0';
        if (value < (LLONG_MIN + digit) / 10)
            return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    return value == LLONG_MIN ? LLONG_MAX : -value;
}

int parseDecimalInt(std::string_view text) {
    long long value = parseDecimalLong(text);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double parseDecimalDouble(std::string_view text) {
    bool negative = false;
    std::size_t i = skipBlanksAndSign(text, negative);
    double value = 0.0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = value * 10.0 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && isDigit(text[i]); ++i, scale /= 10.0)
            value += (text[i] - '0') * scale;
    }
    return negative ? -value : value;
}

} // namespace kv
