#include "monitor/MonitorLogWriter.h"

#include "monitor/MonitorSource.h"
#include "monitor/MonitorStyle.h"

#include "common/AtomicFile.h"

namespace kv::monitor {

namespace {
constexpr std::size_t kWriteBytes = 256 * 1024;
} // namespace

bool writeMonitorLog(const MonitorSource& source, const std::string& path, bool stamped, std::string* error) {
    // The whole list is copied at once, before anything is written: output that arrives meanwhile trims the oldest
    // lines, and a copy taken piece by piece by position would then skip as many lines as were trimmed.
    const std::vector<MonitorLine> lines = source.lines(0, static_cast<std::size_t>(-1));
    AtomicFile file(path);
    auto fail = [&] {
        if (error)
            *error = file.error();
        file.discard();
        return false;
    };
    if (!file.open())
        return fail();
    const bool memory = source.showMemory();
    std::string buffer;
    for (const MonitorLine& line : lines) {
        buffer += stamped ? monitor_style::stampedSaveLine(line, memory) : monitor_style::plainSaveLine(line);
        if (buffer.size() >= kWriteBytes) {
            if (!file.write(buffer))
                return fail();
            buffer.clear();
        }
    }
    if ((!buffer.empty() && !file.write(buffer)) || !file.commit())
        return fail();
    return true;
}

} // namespace kv::monitor
