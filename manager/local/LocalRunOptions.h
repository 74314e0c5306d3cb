#pragma once

#include <chrono>

namespace kv {
class Clock;
}

namespace kv::manager::local {

// The timings of a local run; tests shorten them.
struct LocalRunOptions {
    // From SIGTERM to SIGKILL when the server does not end by itself.
    std::chrono::milliseconds stopGrace{5000};
    // How often the run looks whether the server has ended.
    std::chrono::milliseconds exitWatch{500};
    // Once the server has ended, how long its last output may take to be read before the closing alert is added.
    std::chrono::milliseconds drainBound{500};
    // After SIGKILL, how long to wait for the end before the run gives up on the process.
    std::chrono::milliseconds reapBound{2000};
    // Bounds the stored lines as the agent's MaxConsoleLoggingRAMInK does.
    int maxConsoleLoggingRamInK = 2000;
    const Clock* clock = nullptr; // null: the system clock

    // The longest a stop may take, from the request to ended().
    std::chrono::milliseconds longestStop() const { return stopGrace + reapBound + drainBound; }
};

} // namespace kv::manager::local
