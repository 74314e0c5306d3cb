#pragma once

#include "monitor/MonitorControl.h"
#include "monitor/MonitorLineStore.h"

#include <algorithm>
#include <deque>
#include <string>

namespace kv::test {

// A line store that remembers the largest slice a window asked for: painting must fetch only what it shows.
class CountingStore final : public monitor::MonitorSource {
public:
    explicit CountingStore(bool showMemory = false) : store_(showMemory) {}

    monitor::MonitorLineStore& store() { return store_; }
    std::size_t lineCount() const override { return store_.lineCount(); }
    std::vector<monitor::MonitorLine> lines(std::size_t first, std::size_t count) const override {
        largestRequest = std::max(largestRequest, count);
        lastFirst = first;
        return store_.lines(first, count);
    }
    void clearLines() override { store_.clearLines(); }
    bool showMemory() const override { return store_.showMemory(); }
    void announce(bool follow) { emit linesChanged(follow); }

    mutable std::size_t largestRequest = 0;
    mutable std::size_t lastFirst = 0;

private:
    monitor::MonitorLineStore store_;
};

// A list of any length whose lines are made when asked for: a full list of very long lines without the memory.
class SyntheticSource final : public monitor::MonitorSource {
public:
    SyntheticSource(std::size_t count, std::size_t length) : count_(count), length_(length) {}
    std::size_t lineCount() const override { return count_; }
    std::vector<monitor::MonitorLine> lines(std::size_t first, std::size_t count) const override {
        std::vector<monitor::MonitorLine> out;
        for (std::size_t i = first; i < count_ && i < first + count; ++i) {
            std::string text = "line " + std::to_string(i) + " ";
            text.resize(length_, static_cast<char>('a' + i % 26));
            out.push_back({1700000000, std::move(text), 1000});
        }
        requested += out.size();
        return out;
    }
    void clearLines() override { count_ = 0; }
    bool showMemory() const override { return true; }

    mutable std::size_t requested = 0;

private:
    std::size_t count_;
    std::size_t length_;
};

// A list that new output keeps trimming: after every read, `newLines` lines arrive and as many of the oldest go, as
// in the agent's bounded list. The trim thus falls between any two reads of one save, every time.
class TrimmingStore final : public monitor::MonitorSource {
public:
    TrimmingStore(std::size_t count, std::size_t newLines) : newLines_(newLines) {
        while (next_ < count)
            lines_.push_back(line(next_++));
    }
    std::size_t lineCount() const override { return lines_.size(); }
    std::vector<monitor::MonitorLine> lines(std::size_t first, std::size_t count) const override {
        first = std::min(first, lines_.size());
        const auto begin = lines_.begin() + static_cast<std::ptrdiff_t>(first);
        std::vector<monitor::MonitorLine> out(
            begin, begin + static_cast<std::ptrdiff_t>(std::min(count, lines_.size() - first)));
        for (std::size_t i = 0; i < newLines_; ++i) {
            lines_.pop_front();
            lines_.push_back(line(next_++));
        }
        return out;
    }
    void clearLines() override { lines_.clear(); }
    bool showMemory() const override { return false; }
    // What the list holds now, read without trimming it.
    const std::deque<monitor::MonitorLine>& current() const { return lines_; }

    static monitor::MonitorLine line(std::size_t n) { return {1173258303, "line " + std::to_string(n), 0}; }

private:
    mutable std::deque<monitor::MonitorLine> lines_;
    mutable std::size_t next_ = 0;
    std::size_t newLines_;
};

// Records what a window asked of its server.
class FakeControl final : public monitor::MonitorControl {
public:
    QString stopButtonText() const override {
        return stopped ? QStringLiteral("Stopping Server") : QStringLiteral("Stop Server");
    }
    bool canStop() const override { return !stopped; }
    void stopServer() override {
        ++stops;
        stopped = true;
        emit stateChanged();
    }
    void monitorClosed() override { ++closes; }

    bool stopped = false;
    int stops = 0;
    int closes = 0;
};

} // namespace kv::test
