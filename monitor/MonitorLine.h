#pragma once

#include <cstdint>
#include <string>

namespace kv::monitor {

// One line as the monitor window shows it: capture time (seconds since 1970), the text without its line end, and
// the server's RAM K at capture time (0 where no figure is kept).
struct MonitorLine {
    std::int64_t time = 0;
    std::string text;
    std::int32_t memoryK = 0;

    bool operator==(const MonitorLine&) const = default;
};

} // namespace kv::monitor
