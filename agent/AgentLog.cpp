#include "agent/AgentLog.h"

#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"


namespace kv::agent {

namespace {
// Messages were formatted into a 32 KiB buffer; longer ones are cut there.
constexpr std::size_t kMaxMessage = 32 * 1024 - 1;

} // namespace

AgentLog::AgentLog(std::string workDir, const Clock& clock) : workDir_(std::move(workDir)), clock_(clock) {}

std::string AgentLog::fileNameFor(std::int64_t seconds) {
    LocalTime t = toLocalTime(seconds);
    return format("Logs/KVRCS-%d-%d-%d.log", t.month, t.day, t.year);
}

std::string AgentLog::entryFor(std::int64_t seconds, const std::string& message) {
    if (message.empty())
        return "\n\n\n";
    LocalTime t = toLocalTime(seconds);
    std::string entry = format("%d/%d/%d - %d:%2.2d:%2.2d - ", t.month, t.day, t.year, t.hour, t.minute, t.second);
    entry.append(message, 0, kMaxMessage);
    // Entries written without a line end ran into the next one, which no reader or log watcher could take apart.
    if (entry.back() != '\n')
        entry.push_back('\n');
    return entry;
}

void AgentLog::write(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string message = formatV(fmt, args);
    va_end(args);
    writeText(message);
}

void AgentLog::writeText(const std::string& message) {
    std::int64_t now = clock_.nowSeconds();
    makeDirectories(joinPath(workDir_, "Logs"));
    appendToFile(joinPath(workDir_, fileNameFor(now)), entryFor(now, message));
}

} // namespace kv::agent
