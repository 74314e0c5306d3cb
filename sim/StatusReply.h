#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::sim {

struct PlayerStatus {
    std::string name;
    int enemyKills = 0;
    int kia = 0;
    int ping = 0;
    int honor = 0;
    int leaderPoints = 0;
    int goalPoints = 0;
};

// What a status query reports about the running game.
struct ServerStatusSnapshot {
    std::string version;
    std::string hostName;
    std::string mapName;
    std::string gameType;
    std::string gameMode;
    std::string adminName;
    std::string adminEmail;
    std::string missionTime; // "m:ss" left in the round
    int hostPort = 1716;
    int maxPlayers = 0;
    int currentRound = 1;
    int roundsPerMatch = 1;
    int scoreTeam0 = 0;
    int scoreTeam1 = 0;
    int minHonor = 0;
    int maxHonor = 100;
    bool passworded = false;
    bool tournament = false;
    bool punkBuster = true;
    std::vector<PlayerStatus> players;
};

// The 34-byte request: \info\\status\gamestats\\players\\ (no terminating zero).
std::string_view statusRequest();
// Only the exact request is answered; anything else on the port is ignored.
bool isStatusRequest(std::string_view datagram);

// The reply as two datagrams of backslash-separated keys and values: the server keys first, then the players; the
// second ends with \final\. Backslashes inside values are replaced, and the free texts (host name, administrator,
// map, player names) come after the keys that readers look up in each datagram, so that a name cannot pose as a key.
std::vector<std::string> buildStatusReply(const ServerStatusSnapshot& status);

} // namespace kv::sim
