#pragma once

#include "common/OutputLineSplitter.h"
#include "common/UniqueFd.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <string_view>
#include <thread>

namespace kv {

// Reads a game server's output pipe on a thread of its own and hands the lines of each read to a sink. The pipe is
// always drained, whatever the sink or the splitter's policy do, so that the server never blocks on a full pipe.
class OutputCapture {
public:
    // Called on the capture's thread; must not throw.
    class Sink {
    public:
        virtual ~Sink() = default;
        // The lines of one read, oldest first; the views are valid during the call only.
        virtual void linesCaptured(std::span<const std::string_view> lines) = 0;
        // A line reached the length limit and the policy ends capture: later output is read and thrown away.
        virtual void captureCut() {}
        // The pipe was closed, or stop() asked for the end; the pipe is closed by now. The last call.
        virtual void captureEnded() {}
    };

    // Takes the read end of the pipe and starts reading at once.
    OutputCapture(UniqueFd pipe, OutputLineSplitter::LongLines policy, Sink& sink);
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;
    // Stops and joins the thread (it never blocks for longer than one read).
    ~OutputCapture();

    // Ends reading as soon as possible.
    void stop();

    bool finished() const { return finished_.load(); }
    bool cut() const { return cut_.load(); }
    std::uint64_t linesRead() const { return linesRead_.load(std::memory_order_relaxed); }

private:
    void run();

    UniqueFd pipe_;
    UniqueFd wake_;
    OutputLineSplitter splitter_;
    Sink& sink_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> cut_{false};
    std::atomic<std::uint64_t> linesRead_{0};
    std::thread thread_;
};

} // namespace kv
