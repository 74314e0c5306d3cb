#include "common/Format.h"

#include <cstdio>

namespace kv {

namespace {

void appendFormatV(std::string& out, const char* fmt, va_list args) {
    char small[256];
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (needed < 0)
        return;
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.append(small, static_cast<std::size_t>(needed));
        return;
    }
    std::size_t oldSize = out.size();
    out.resize(oldSize + static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(out.data() + oldSize, static_cast<std::size_t>(needed) + 1, fmt, args);
    out.resize(oldSize + static_cast<std::size_t>(needed));
}

} // namespace

std::string formatV(const char* fmt, va_list args) {
    std::string out;
    appendFormatV(out, fmt, args);
    return out;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = formatV(fmt, args);
    va_end(args);
    return out;
}

void appendFormat(std::string& out, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    appendFormatV(out, fmt, args);
    va_end(args);
}

} // namespace kv
