#pragma once

#include "sim/GameIni.h"
#include "sim/StatusReply.h"

#include <string>
#include <vector>

namespace kv::sim {

// The simulated match: players, rounds that follow each other every `roundSeconds`, and scores that grow with time.
// Everything is a function of the seconds since the game engine was ready, so replies are reproducible.
class MatchState {
public:
    MatchState(GameIni ini, std::string mapName, int players, int roundSeconds);

    ServerStatusSnapshot snapshot(double elapsedSeconds) const;
    int roundAt(double elapsedSeconds) const;
    const GameIni& ini() const { return ini_; }
    const std::string& mapName() const { return mapName_; }
    const std::vector<std::string>& playerNames() const { return names_; }

private:
    GameIni ini_;
    std::string mapName_;
    int roundSeconds_;
    std::vector<std::string> names_;
};

} // namespace kv::sim
