#pragma once

#include "sim/MatchState.h"
#include "sim/SimCommandLine.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kv::sim {

struct OutputLine {
    bool toError = false; // standard error instead of standard output
    std::string text;
};

struct StartupInfo {
    std::string commandLine; // the arguments as received, joined with blanks
    SimCommandLine options;
    std::string systemFolder;
    std::string mapPath;
    std::string iniPath; // empty when no ini= was given
    std::string listenAddress;
    int adminPort = 0;
    int queryPort = 0;
    std::vector<std::string> warnings;
};

// The lines the server prints while it loads, before "Game engine initialized".
std::vector<OutputLine> startupLines(const StartupInfo& info, const MatchState& match);
// The line printed once the game is ready.
std::string readyLine(double secondsSinceStart);
// The n-th line of ordinary game chatter (player events, "WARNING" and "Karma" lines among them).
OutputLine periodicLine(std::size_t index, const MatchState& match, double elapsedSeconds);
// Line n (1-based) of a flood of `total` lines.
std::string floodLine(int n, int total);
// The same line of a paced flood, stamped with the wall-clock time it was written (seconds since 1970 with
// microseconds), so that a reader can tell how long the line took to reach it.
std::string pacedFloodLine(int n, int total, long long sentMicros);
// The text of a fatal start-up error; always contains "Exiting due to error".
std::string fatalLine(const std::string& reason);

} // namespace kv::sim
