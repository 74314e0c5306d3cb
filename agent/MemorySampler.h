#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace kv::agent {

// Memory use of one process, in bytes.
struct ProcessMemory {
    std::int64_t workingSet = 0;     // VmRSS
    std::int64_t peakWorkingSet = 0; // VmHWM
    std::int64_t pageFile = 0;       // VmSwap
};

// Figures of the whole machine.
struct SystemMemory {
    std::int64_t availableBytes = 0; // MemAvailable
    std::int64_t totalBytes = 0;     // MemTotal
    long processCount = 0;           // numeric entries of /proc
    long threadCount = 0;            // total of /proc/loadavg's fourth field
};

// Reads memory figures from /proc (given as a folder so that tests can point it elsewhere).
class MemorySampler {
public:
    explicit MemorySampler(std::string procDir = "/proc");

    // Empty when the process cannot be read (it has ended, or no such process).
    std::optional<ProcessMemory> process(pid_t pid) const;
    SystemMemory system() const;

    // Parsers over the text of /proc/<pid>/status, /proc/meminfo and /proc/loadavg.
    static std::optional<ProcessMemory> parseStatus(std::string_view text);
    static void parseMeminfo(std::string_view text, SystemMemory& out);
    static long parseLoadavgThreads(std::string_view text);

private:
    std::string procDir_;
};

} // namespace kv::agent
