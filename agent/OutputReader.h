#pragma once

#include "common/Clock.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>
#include <deque>

#include "agent/OutputLineList.h"

namespace kv::agent {

class AgentLog;
class FeedList;
class SettingsStore;
class SupervisionState;

// Reads the game server's output pipe on its own thread and turns it into lines: tab and carriage return bytes are
// dropped, a line feed ends a line. Each line is stamped, added to the output line list (with the server's current
// RAM K), checked for "Game engine initialized", written to the running log and handed to the live feeds.
// A line that reaches 16,383 characters ends the capture for this run; the pipe is still drained (and the bytes
// thrown away) so that the game server never blocks on a full pipe.
class OutputReader {
public:
    static constexpr std::size_t kMaxLine = 16383;

    struct Targets {
        OutputLineList* lines = nullptr;
        SupervisionState* state = nullptr;
        FeedList* feeds = nullptr; // may be null
        AgentLog* log = nullptr;   // may be null
        const Clock* clock = nullptr;
        std::string runningLogPath; // empty: no running log
        // The running log (with what it held already) grows to about this size; then one line says it was cut and
        // the rest of the run is not logged.
        std::uint64_t runningLogLimit = 64ull * 1024 * 1024;
        bool showMemory = false;
        // When set, ShowMemoryUsage is read again for every block, so that the Options dialog takes effect at once.
        const SettingsStore* settings = nullptr;
        // Called on the reader thread after new lines were added, at most once until acknowledge() is called.
        std::function<void()> linesAdded;
        // Called on the reader thread when it ends (pipe closed, stop requested); may be empty.
        std::function<void()> finished;
    };

    // Takes ownership of `fd` (the read end of the output pipe) and starts reading at once.
    OutputReader(int fd, Targets targets);
    OutputReader(const OutputReader&) = delete;
    OutputReader& operator=(const OutputReader&) = delete;
    // Stops and joins the thread.
    ~OutputReader();

    // Ends reading as soon as possible; the pipe is closed by the reader.
    void stop();
    // The receiver of linesAdded has taken note; the next new line notifies again.
    void acknowledge() { notifyPending_.store(false); }

    bool finished() const { return finished_.load(); }
    // True once a line reached the length limit and capture ended.
    bool overflowed() const { return overflowed_.load(); }
    std::uint64_t linesRead() const { return linesRead_.load(); }

private:
    void run();
    void consume(const char* data, std::size_t size);
    // A complete line; `text` stays valid until flushBatch().
    void completeLine(std::int64_t now, std::string_view text);
    void flushBatch();
    bool overflow();

    int fd_;
    int wakeFd_ = -1;
    Targets t_;
    std::string current_;  // the line being put together across reads, without tabs and carriage returns
    std::vector<OutputLineList::LineRef> batch_;
    std::deque<std::string> held_; // lines of the batch that are not views into the read buffer
    std::string logBatch_;
    std::uint64_t logBytes_ = 0; // in the running log file
    bool logCut_ = false;
    std::int64_t stampSecond_ = -1;
    std::string stamp_;
    std::atomic<bool> notifyPending_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> overflowed_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> linesRead_{0};
    std::thread thread_;
};

} // namespace kv::agent
