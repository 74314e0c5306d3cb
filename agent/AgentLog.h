#pragma once

#include "common/Clock.h"

#include <cstdarg>
#include <cstdint>
#include <string>

namespace kv::agent {

// The agent's daily log, Logs/KVRCS-<month>-<day>-<year>.log in the working folder. Each entry is opened, appended
// and closed, so any thread may write; a log that cannot be written loses the entry silently.
class AgentLog {
public:
    AgentLog(std::string workDir, const Clock& clock);

    // printf-style; a line feed is added when the message does not end with one. An empty message writes three
    // line feeds.
    void write(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void writeText(const std::string& message);

    // File of the day that `seconds` falls on, relative to the working folder.
    static std::string fileNameFor(std::int64_t seconds);
    // The entry as written for `message` at `seconds`.
    static std::string entryFor(std::int64_t seconds, const std::string& message);

    const std::string& workDir() const { return workDir_; }

private:
    std::string workDir_;
    const Clock& clock_;
};

} // namespace kv::agent
