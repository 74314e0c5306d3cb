#pragma once

#include <atomic>
#include <sys/types.h>
#include <thread>

namespace kv::bench {

// Figures of a running process from /proc/<pid>/status.
struct ProcessFigures {
    long threads = 0;
    long vmHwmK = 0; // peak resident memory
    long vmRssK = 0;

    // Zeros when the process has gone.
    static ProcessFigures read(pid_t pid);
};

// User plus system CPU seconds that a process has used so far (/proc/<pid>/stat); 0 when it has gone.
double cpuSeconds(pid_t pid);

// Samples a process's thread count every few milliseconds on its own thread, for the peak between start() and
// stop() (the kernel keeps the memory peak itself, as VmHWM).
class ThreadPeakSampler {
public:
    explicit ThreadPeakSampler(pid_t pid) : pid_(pid) {}
    ThreadPeakSampler(const ThreadPeakSampler&) = delete;
    ThreadPeakSampler& operator=(const ThreadPeakSampler&) = delete;
    ~ThreadPeakSampler() { stop(); }

    void start();
    // The highest thread count seen since start().
    long stop();

private:
    pid_t pid_;
    std::atomic<bool> running_{false};
    std::atomic<long> peak_{0};
    std::thread thread_;
};

} // namespace kv::bench
