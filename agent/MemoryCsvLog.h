#pragma once

#include "agent/MemorySampler.h"

#include <cstdint>
#include <string>

namespace kv::agent {

// The memory CSV log of one run: a header when the run begins, one row per memory sample.
namespace memory_csv {

inline constexpr const char* kHeader =
    "Date/Time,Time Stamp,Process RAM In Use,Process Page File In Use,Physical RAM Available,Physical RAM Total,"
    "System Process Count,System Thread Count\n";

// "M-D-YYYY H:MM:SS,<time stamp>,<working set>,<page file>,<available>,<total>,<processes>,<threads>\n"
std::string row(std::int64_t now, const ProcessMemory& process, const SystemMemory& system);

// Appends to the file; a file that cannot be opened skips the text.
void append(const std::string& path, const std::string& text);

} // namespace memory_csv
} // namespace kv::agent
