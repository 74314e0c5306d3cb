#include "monitor/MonitorLogWriter.h"

#include "monitor/MonitorSource.h"
#include "monitor/MonitorStyle.h"

#include "common/AtomicFile.h"

namespace kv::monitor {

namespace {
constexpr std::size_t kChunkLines = 2048;
} // namespace

bool writeMonitorLog(const MonitorSource& source, const std::string& path, bool stamped, std::string* error) {
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
    for (std::size_t first = 0;; first += kChunkLines) {
        std::vector<MonitorLine> chunk = source.lines(first, kChunkLines);
        buffer.clear();
        for (const MonitorLine& line : chunk)
            buffer += stamped ? monitor_style::stampedSaveLine(line, memory) : monitor_style::plainSaveLine(line);
        if (!buffer.empty() && !file.write(buffer))
            return fail();
        if (chunk.size() < kChunkLines)
            break;
    }
    if (!file.commit())
        return fail();
    return true;
}

} // namespace kv::monitor
