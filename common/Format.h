#pragma once

#include <cstdarg>
#include <string>

namespace kv {

// printf-style formatting into a string; the system's formats ("%2.2d", "%4.1f", "%ld", ...) are used as given.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string formatV(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));

// Appends formatted text to `out` without a temporary string.
void appendFormat(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

} // namespace kv
