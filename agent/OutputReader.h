#pragma once

#include "agent/OutputLineList.h"

#include "common/Clock.h"
#include "common/OutputCapture.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kv::agent {

class AgentLog;
class FeedList;
class SettingsStore;
class SupervisionState;

// The agent's side of the output capture (common/OutputCapture reads the pipe and splits the lines): each line is
// stamped, added to the output line list (with the server's current RAM K), checked for "Game engine initialized",
// written to the running log and handed to the live feeds. A line that reaches 16,383 characters ends the capture
// for this run; the pipe is still drained so that the game server never blocks on a full pipe.
class OutputReader final : private OutputCapture::Sink {
public:
    static constexpr std::size_t kMaxLine = OutputLineSplitter::kMaxLine;

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
    ~OutputReader() override;

    // Ends reading as soon as possible; the pipe is closed by the reader.
    void stop();
    // The receiver of linesAdded has taken note; the next new line notifies again.
    void acknowledge() { notifyPending_.store(false); }

    bool finished() const { return capture_->finished(); }
    // True once a line reached the length limit and capture ended.
    bool overflowed() const { return capture_->cut(); }
    std::uint64_t linesRead() const { return capture_->linesRead(); }

private:
    void linesCaptured(std::span<const std::string_view> lines) override;
    void captureCut() override;
    void captureEnded() override;
    // A complete line; `text` stays valid until flushBatch().
    void completeLine(std::int64_t now, std::string_view text);
    void flushBatch();

    Targets t_;
    std::vector<OutputLineList::LineRef> batch_;
    std::string logBatch_;
    std::uint64_t logBytes_ = 0; // in the running log file
    bool logCut_ = false;
    std::int64_t stampSecond_ = -1;
    std::string stamp_;
    std::atomic<bool> notifyPending_{false};
    std::unique_ptr<OutputCapture> capture_; // last: it calls into everything above
};

} // namespace kv::agent
