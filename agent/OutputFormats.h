#pragma once

#include "agent/OutputLine.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::agent::output_formats {

// File names of one run's logs, relative to the working folder, formed with the setup name and the moment the run
// began. Characters that would leave the folder ('/' and NUL) are replaced by '_'.
std::string runningLogName(const std::string& setupName, std::int64_t seconds);
std::string memoryCsvName(const std::string& setupName, std::int64_t seconds);

// "M/D/YYYY-H:MM:SS" in local time.
std::string timeStamp(std::int64_t seconds);

// "M/D/YYYY-H:MM:SS[ (nK)]- text\r\n" (no blank before the "-").
std::string runningLogLine(const OutputLine& line, bool showMemory);
// The same, appended to `out` with the time stamp already formatted (the output reader formats it once a second).
void appendRunningLogLine(std::string& out, std::string_view stamp, std::int32_t memoryK, bool showMemory,
                          std::string_view text);
// "M/D/YYYY-H:MM:SS[ (nK)] - text" without line end: saved logs (with "\r\n") and remote feeds (with "\n").
std::string listingLine(const OutputLine& line, bool showMemory);

// "M/D/YYYY-H:MM:SS - ALERT - Server Stopped By Crash Or Task Manager after N minutes"
std::string crashAlert(std::int64_t now, std::int64_t minutes);
// "M/D/YYYY-H:MM:SS - ALERT - Server Stopped By User"
std::string userStopAlert(std::int64_t now);

} // namespace kv::agent::output_formats
