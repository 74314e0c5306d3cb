#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace kv::manager::local {

// One stored line of a local run: its capture time and its text, which carries its own time stamp.
struct LocalLine {
    std::int64_t time = 0;
    std::string text;

    bool operator==(const LocalLine&) const = default;
};

// The lines of one local run, oldest first, bounded as the agent bounds its output: K x 102 lines and K x 1,024
// bytes of text; before a line is added that would pass either bound, the 500 oldest lines go (all when fewer),
// until it fits. A flooding server thus costs a fixed amount of memory. One mutex; the capture thread appends while
// the window reads.
class LocalRunLines {
public:
    static constexpr std::size_t kLinesPerK = 102;
    static constexpr std::size_t kBytesPerK = 1024;
    static constexpr std::size_t kTrimCount = 500;

    explicit LocalRunLines(int maxK = 2000);

    void append(std::vector<LocalLine>&& lines);
    void append(LocalLine line);
    void clear();

    std::size_t size() const;
    std::size_t textBytes() const;
    // Copies of lines [first, first + count), cut at the end.
    std::vector<LocalLine> lines(std::size_t first, std::size_t count) const;

private:
    void appendLocked(LocalLine&& line);
    void dropOldest();

    mutable std::mutex mutex_;
    std::deque<LocalLine> lines_;
    std::size_t bytes_ = 0;
    std::size_t maxLines_;
    std::size_t maxBytes_;
};

} // namespace kv::manager::local
