#include "sim/MatchState.h"

#include "common/Format.h"

#include <algorithm>

namespace kv::sim {

namespace {
const char* const kNames[] = {"Ranger", "Viper", "Nomad", "Falcon", "Ghost", "Hammer", "Lynx", "Rook"};
}

MatchState::MatchState(GameIni ini, std::string mapName, int players, int roundSeconds)
    : ini_(std::move(ini)), mapName_(std::move(mapName)), roundSeconds_(std::max(1, roundSeconds)) {
    int count = std::clamp(players, 0, 64);
    if (ini_.maxPlayers > 0)
        count = std::min(count, ini_.maxPlayers);
    for (int n = 0; n < count; ++n)
        names_.push_back(format("%s%d", kNames[n % 8], n / 8 + 1));
}

int MatchState::roundAt(double elapsedSeconds) const {
    long long round = static_cast<long long>(std::max(0.0, elapsedSeconds)) / roundSeconds_;
    return static_cast<int>(round % ini_.roundsPerMatch) + 1;
}

ServerStatusSnapshot MatchState::snapshot(double elapsedSeconds) const {
    long long seconds = static_cast<long long>(std::max(0.0, elapsedSeconds));
    ServerStatusSnapshot s;
    s.version = "1.0.0";
    s.hostName = ini_.hostName;
    s.mapName = mapName_;
    s.gameType = ini_.tournament ? "Tournament" : "Team Objective";
    s.gameMode = "openplaying";
    s.adminName = ini_.adminName;
    s.adminEmail = ini_.adminEmail;
    long long left = roundSeconds_ - seconds % roundSeconds_;
    s.missionTime = format("%lld:%02lld", left / 60, left % 60);
    s.hostPort = ini_.gamePort;
    s.maxPlayers = ini_.maxPlayers;
    s.currentRound = roundAt(elapsedSeconds);
    s.roundsPerMatch = ini_.roundsPerMatch;
    s.scoreTeam0 = static_cast<int>(seconds / 30 % 1000);
    s.scoreTeam1 = static_cast<int>(seconds / 45 % 1000);
    s.passworded = ini_.passworded;
    s.tournament = ini_.tournament;
    for (std::size_t n = 0; n < names_.size(); ++n) {
        int k = static_cast<int>(n);
        PlayerStatus p;
        p.name = names_[n];
        p.enemyKills = static_cast<int>((seconds + 7 * k) / 20 % 500);
        p.kia = static_cast<int>((seconds + 11 * k) / 35 % 500);
        p.ping = 30 + (k * 17 + static_cast<int>(seconds)) % 90;
        p.honor = 10 + (k * 13) % 90;
        p.leaderPoints = static_cast<int>(seconds / 60 % 100);
        p.goalPoints = static_cast<int>((seconds + 5 * k) / 50 % 100);
        s.players.push_back(p);
    }
    return s;
}

} // namespace kv::sim
