#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace kv {

struct ProcessOptions {
    // arguments[0] is the program path; it is executed directly (execv), never through a shell.
    std::vector<std::string> arguments;
    // Folder the program starts in; empty keeps ours.
    std::string workingDirectory;
    // Variables added to (or replacing those of) our environment.
    std::vector<std::pair<std::string, std::string>> environment;
    // Standard error goes into the same pipe as standard output, so that lines stay in the order printed.
    bool mergeErrorIntoOutput = true;
    // The program gets SIGKILL when our process ends, even by SIGKILL, so that it is never left behind. The kernel
    // sends it when the *thread* that called start() ends: only set this when that thread lives as long as we do
    // (the main thread).
    bool endWithParent = false;
};

// A child program in its own process group, with its standard input, output (and error) on pipes whose our ends are
// close-on-exec. Destroying a ChildProcess that still runs kills its process group and reaps it, so no program is
// ever left behind by an early return.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Starts the program. False when it cannot be started (missing program, not executable, bad folder); `error`
    // then says why, e.g. "Cannot start /x/server.bin: No such file or directory".
    bool start(const ProcessOptions& options, std::string* error = nullptr);

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Read end of the output pipe (standard output, and standard error when merged); -1 before start.
    int outputFd() const { return outputFd_; }
    // Read end of standard error when it is not merged; -1 otherwise.
    int errorFd() const { return errorFd_; }
    // Write end of standard input; -1 once closed.
    int inputFd() const { return inputFd_; }
    void closeInput();
    // Closes our read ends (e.g. once a reader thread has finished with them).
    void closeOutput();

    // Exit status once the program has ended: its exit code, or 128 + signal number when a signal ended it.
    // Empty while it still runs (a non-blocking check).
    std::optional<int> poll();
    bool running() { return started() && !poll().has_value(); }
    // Waits up to `timeout` for the end; the exit status, or empty when it still runs.
    std::optional<int> waitFor(std::chrono::milliseconds timeout);
    // Whether the program ended through a signal (valid once poll() has a value).
    bool endedBySignal() const { return endedBySignal_; }

    // Sends a signal to the whole process group (the program and whatever it started). False when it has ended.
    bool signalGroup(int signal);
    void terminate(); // SIGTERM to the group
    void kill();      // SIGKILL to the group

private:
    pid_t pid_ = -1;
    int outputFd_ = -1;
    int errorFd_ = -1;
    int inputFd_ = -1;
    std::optional<int> status_;
    bool endedBySignal_ = false;
};

} // namespace kv
