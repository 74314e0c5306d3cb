#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace kv::sim {

// Writes the server's output on a thread of its own, so that a reader that stops reading (a full pipe) never holds
// up the admin port or the status replies. Lines go out in the order they were queued.
class OutputWriter {
public:
    OutputWriter(int outFd, int errFd);
    OutputWriter(const OutputWriter&) = delete;
    OutputWriter& operator=(const OutputWriter&) = delete;
    ~OutputWriter();

    // A line; the line feed is added.
    void line(const std::string& text, bool toError = false);
    // Bytes exactly as given (e.g. a line without its line feed).
    void raw(std::string bytes, bool toError = false);
    // `total` numbered lines written as fast as the reader takes them, or `rate` lines a second (0: no pace).
    void flood(int total, int rate = 0);

    // Writes what is queued (a flood is cut short) and ends the thread. False when that did not happen within
    // `timeout`, i.e. the writer is stuck in a write; the thread is then left running and the caller should end
    // the process without destroying this object.
    bool finish(std::chrono::milliseconds timeout);

private:
    struct Item {
        bool toError = false;
        std::string bytes;
        int floodTotal = 0;
        int floodRate = 0;
    };
    void run();
    void writeAll(int fd, std::string_view bytes);
    void writeFlood(int total);
    void writePacedFlood(int total, int rate);
    void push(Item item);

    int outFd_;
    int errFd_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<Item> queue_;
    bool finishing_ = false;
    bool finished_ = false;
    std::thread thread_;
};

} // namespace kv::sim
