#pragma once

#include <cstdint>
#include <string>

namespace kv::agent {

// One captured line of game server output (or an alert line of the supervision).
struct OutputLine {
    std::int64_t time = 0;  // capture time, seconds since 1970
    std::string text;       // without its line end
    std::int32_t memoryK = 0; // the server's RAM K at capture time; 0 for alert lines

    bool operator==(const OutputLine&) const = default;
};

} // namespace kv::agent
