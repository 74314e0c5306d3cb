#pragma once

#include <cstdint>

namespace kv::agent {

// How long to wait before starting a crashed game server again. The first crash restarts at once, as designed; a
// server that keeps crashing soon after its start waits longer each time (5 s, 10 s, 20 s, ... up to 5 minutes), so
// that a broken configuration neither spins the machine nor floods the logs. A run that lasted a minute or more
// starts the count afresh.
class CrashBackoff {
public:
    static constexpr std::int64_t kQuickRunSeconds = 60;
    static constexpr std::int64_t kFirstWaitSeconds = 5;
    static constexpr std::int64_t kLongestWaitSeconds = 300;

    // A run that lasted `ranSeconds` crashed: the seconds to wait before the restart (0: at once).
    std::int64_t crashed(std::int64_t ranSeconds);
    // The wait that the last crash gave.
    std::int64_t wait() const { return wait_; }
    // Crashes in a row whose run ended within kQuickRunSeconds.
    int quickCrashes() const { return quick_; }

private:
    int quick_ = 0;
    std::int64_t wait_ = 0;
};

} // namespace kv::agent
