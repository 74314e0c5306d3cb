#include "agent/MemoryCsvLog.h"

#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"


namespace kv::agent::memory_csv {

std::string row(std::int64_t now, const ProcessMemory& p, const SystemMemory& s) {
    LocalTime t = toLocalTime(now);
    return format("%d-%d-%d %d:%2.2d:%2.2d,%lld,%lld,%lld,%lld,%lld,%ld,%ld\n", t.month, t.day, t.year, t.hour,
                  t.minute, t.second, static_cast<long long>(now), static_cast<long long>(p.workingSet),
                  static_cast<long long>(p.pageFile), static_cast<long long>(s.availableBytes),
                  static_cast<long long>(s.totalBytes), s.processCount, s.threadCount);
}

void append(const std::string& path, const std::string& text) { appendToFile(path, text); }

} // namespace kv::agent::memory_csv
