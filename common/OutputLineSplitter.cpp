#include "common/OutputLineSplitter.h"

#include <cstring>

namespace kv {

void OutputLineSplitter::complete(std::vector<std::string_view>& out) {
    held_.push_back(std::move(current_));
    out.push_back(held_.back());
    current_.clear();
}

void OutputLineSplitter::split(std::string_view data, std::vector<std::string_view>& out) {
    held_.clear();
    const char* p = data.data();
    const char* end = p + data.size();
    while (p < end && !ended_) {
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* segmentEnd = newline ? newline : end;
        const std::string_view segment(p, static_cast<std::size_t>(segmentEnd - p));
        p = newline ? newline + 1 : end;
        // Most lines arrive whole and clean: they are handed on straight from the read buffer.
        std::string_view clean = segment;
        if (!clean.empty() && clean.back() == '\r')
            clean.remove_suffix(1);
        if (newline && current_.empty() && !afterCut_ && clean.size() < kMaxLine &&
            clean.find_first_of("\t\r") == std::string_view::npos) {
            out.push_back(clean);
            continue;
        }
        for (char c : segment) {
            if (c == '\t' || c == '\r')
                continue;
            afterCut_ = false;
            current_.push_back(c);
            if (current_.size() < kMaxLine)
                continue;
            if (policy_ == LongLines::EndCapture) {
                ended_ = true;
                current_.clear();
                current_.shrink_to_fit();
                return;
            }
            complete(out);
            afterCut_ = true;
        }
        if (!newline)
            continue;
        if (afterCut_ && current_.empty())
            afterCut_ = false;
        else
            complete(out);
    }
}

} // namespace kv
