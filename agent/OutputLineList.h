#pragma once

#include "agent/OutputLine.h"

#include <QObject>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace kv::agent {

// The captured output of the game server, oldest first, bounded by MaxConsoleLoggingRAMInK x 102 lines: before a
// line is added to a list that is longer than that, the 500 oldest lines go (all of them when fewer). The setting
// also bounds the text: K x 1024 bytes. Before a line is added whose text would pass that, the 500 oldest lines go,
// again and again until it fits; a single line longer than the whole bound is kept cut to it. Written by the output
// reader and the supervision's alert lines, read by views and remote feeds; one mutex guards it.
//
// Texts are packed into large blocks instead of one heap string per line: a full list (204,000 lines) then costs
// little more than its text.
class OutputLineList : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t kLinesPerK = 102;
    static constexpr std::size_t kTrimCount = 500;
    static constexpr std::size_t kBytesPerK = 1024;

    explicit OutputLineList(int maxConsoleLoggingRamInK = 2000, QObject* parent = nullptr);
    ~OutputLineList() override;

    void setMaxConsoleLoggingRamInK(int k);

    // Trims, then adds the line. Returns the number of lines afterwards.
    std::size_t append(std::int64_t time, std::string_view text, std::int32_t memoryK);
    std::size_t append(const OutputLine& line) { return append(line.time, line.text, line.memoryK); }
    // Several lines under one lock, each trimmed and added as append() does.
    struct LineRef {
        std::int64_t time;
        std::string_view text;
        std::int32_t memoryK;
    };
    std::size_t append(const LineRef* lines, std::size_t count);
    void clear();

    std::size_t size() const;
    // Text bytes held (without record overhead).
    std::size_t textBytes() const;
    // Copies of lines [first, first + count) (cut at the end); the newest line, if any.
    std::vector<OutputLine> lines(std::size_t first, std::size_t count) const;
    std::vector<OutputLine> all() const { return lines(0, static_cast<std::size_t>(-1)); }
    bool newest(OutputLine& out) const;
    // Calls `fn` for each line oldest first while holding the lock; `fn` must not block or touch the list.
    void forEach(const std::function<void(std::int64_t time, std::string_view text, std::int32_t memoryK)>& fn) const;

signals:
    // Emitted by clear(); appends are announced by the run (coalesced), not per line.
    void cleared();

private:
    // 16 bytes a line: the text's length sits in front of it in its block, the time is kept relative to a base.
    struct Entry {
        const char* text;
        std::int32_t timeDelta;
        std::int32_t memoryK;
    };
    struct Block {
        std::unique_ptr<char[]> data;
        std::size_t used = 0;
        std::size_t capacity = 0;
        std::size_t lines = 0; // lines of this block still in the list
    };

    void dropOldest(std::size_t count);
    void appendLocked(std::int64_t time, std::string_view text, std::int32_t memoryK);
    const char* store(std::string_view text);
    std::size_t limit() const;
    std::size_t byteLimit() const;
    static std::size_t lengthOf(const Entry& e);
    static std::string_view textOf(const Entry& e);
    std::int64_t timeOf(const Entry& e) const { return timeBase_ + e.timeDelta; }
    OutputLine recordOf(const Entry& e) const;

    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
    static_assert(sizeof(Entry) == 16);
    std::deque<Block> blocks_;
    std::size_t textBytes_ = 0;
    std::int64_t timeBase_ = 0;
    long long maxK_ = 2000;
};

} // namespace kv::agent
