#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::sim {

// The simulator's knobs. Each comes from a `KVSIM_...=value` line of `kvsim.conf` in the game folder, or from the
// environment variable of the same name, which wins. docs/simulator.md describes every one.
struct SimSettings {
    int adminPort = 49600;             // KVSIM_ADMIN_PORT
    int queryPort = 1717;              // KVSIM_QUERY_PORT
    std::string bindAddress = "127.0.0.1"; // KVSIM_BIND, used when the command line has no MULTIHOME=
    int startDelayMs = 1000;           // KVSIM_START_DELAY_MS
    int lineIntervalMs = 2000;         // KVSIM_LINE_INTERVAL_MS, 0 = no periodic lines
    double crashAfterSeconds = 0;      // KVSIM_CRASH_AFTER, 0 = never
    int crashExitCode = 3;             // KVSIM_CRASH_CODE
    bool ignoreShutdown = false;       // KVSIM_IGNORE_SHUTDOWN
    bool ignoreSigterm = false;        // KVSIM_IGNORE_SIGTERM
    int floodLines = 0;                // KVSIM_FLOOD_LINES
    int floodRate = 0;                 // KVSIM_FLOOD_RATE, lines per second, 0 = as fast as read
    bool longLine = false;             // KVSIM_LONG_LINE
    int longLineLength = 16383;        // KVSIM_LONG_LINE_LENGTH
    int players = 4;                   // KVSIM_PLAYERS (0..64)
    int roundSeconds = 120;            // KVSIM_ROUND_SECONDS
    int shutdownDelayMs = 200;         // KVSIM_SHUTDOWN_DELAY_MS
    bool exitWithParent = true;        // KVSIM_EXIT_WITH_PARENT
};

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// `KEY=VALUE` lines; blank lines and lines starting with '#' are skipped, blanks around key and value removed.
KeyValues parseKnobFile(std::string_view text);

// Applies the knobs that are known (names compared exactly); each unknown name or unusable value adds a warning
// and leaves the setting as it was.
void applyKnobs(SimSettings& settings, const KeyValues& knobs, std::vector<std::string>& warnings);

// Names of all knobs, so that the environment can be searched for them.
const std::vector<std::string>& knobNames();

} // namespace kv::sim
