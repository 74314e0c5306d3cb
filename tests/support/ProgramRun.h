#pragma once

#include "common/ChildProcess.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kv::test {

// Runs a program (through kv::ChildProcess, standard error merged into standard output) and collects its output
// lines on a reader thread, so that a test can wait for what the program prints. The destructor kills the
// program's process group and stops the reader.
class ProgramRun {
public:
    ProgramRun() = default;
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;
    ~ProgramRun();

    bool start(const ProcessOptions& options, std::string* error = nullptr);
    bool start(std::vector<std::string> arguments, std::vector<std::pair<std::string, std::string>> environment = {},
               std::string workingDirectory = {}, std::string* error = nullptr);

    // Waits for a complete line (line feed seen; a carriage return before it is removed) that contains `text`.
    // Lines are searched from just after the line that the previous successful call returned, so consecutive
    // calls follow the output in order. Empty after `timeout`, or once the output has ended without such a line.
    std::optional<std::string> waitForLine(std::string_view text, std::chrono::milliseconds timeout);
    // Whether any line so far contains `text` (ignores the position of waitForLine).
    bool hasLine(std::string_view text) const;
    // Waits until at least `count` complete lines have arrived.
    bool waitForLineCount(std::size_t count, std::chrono::milliseconds timeout);

    // Waits for the program's end and for its output to be read to the end; its exit status, or empty.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

    std::vector<std::string> lines() const;
    std::size_t lineCount() const;
    // Output after the last line feed (a line that has not been completed).
    std::string pendingText() const;
    // All lines joined with "\n", for failure messages.
    std::string output() const;
    bool outputEnded() const;

    ChildProcess& process() { return process_; }

private:
    void readLoop();
    void stopReader();

    ChildProcess process_;
    std::thread reader_;
    bool stop_ = false;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::string pending_;
    bool ended_ = false;
    std::size_t searchFrom_ = 0;
};

} // namespace kv::test
