#pragma once

#include "sim/SimSettings.h"

#include <chrono>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kv::sim {

class OutputWriter;

// What the simulator gets from its process: passed in so that it can run inside a test as well.
struct SimEnvironment {
    std::vector<std::string> arguments; // argv, the program path first
    std::string currentFolder;
    KeyValues environmentKnobs;  // KVSIM_... variables that are set
    std::string gameFolder;      // KVSIM_GAME_DIR; empty = the parent of the program's folder
    int outFd = 1;
    int errFd = 2;
    int signalFd = -1;           // read end of a pipe that carries one byte per signal number received
};

// The game server simulator: checks its command line, map and configuration, prints start-up lines, reports
// "Game engine initialized" after the start delay, then prints game lines, answers status queries on UDP and
// shuts down on "SHUTDOWN\r" from its admin port or on SIGTERM.
class Simulator {
public:
    explicit Simulator(SimEnvironment environment);
    ~Simulator();

    // Runs until the end; returns the exit status.
    int run();
    // False when output could not be written out before the end (a reader stopped reading); the process must then
    // end without running destructors.
    bool outputDrained() const { return drained_; }

private:
    struct Runtime;
    int fail(const std::string& reason);
    bool prepare(Runtime& rt);
    int loop(Runtime& rt);
    bool finishOutput(std::chrono::milliseconds timeout);

    SimEnvironment env_;
    SimSettings settings_;
    std::unique_ptr<OutputWriter> writer_;
    bool drained_ = true;
    pid_t parent_ = 0;
};

} // namespace kv::sim
