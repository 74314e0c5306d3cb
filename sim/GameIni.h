#pragma once

#include <string>
#include <string_view>

namespace kv::sim {

// The few values of the game configuration file that the simulator shows (in its output and its status replies).
// Keys are matched at the start of a line without regard to case; the first occurrence wins.
struct GameIni {
    std::string hostName = "Korvane Server"; // ServerName=
    int maxPlayers = 24;                     // MaxPlayers=
    int roundsPerMatch = 5;                  // RoundsPerMatch=
    int gamePort = 1716;                     // Port=
    std::string adminName;                   // AdminName=
    std::string adminEmail;                  // AdminEmail=
    bool passworded = false;                 // GamePassword= with a value
    bool tournament = false;                 // bTournamentMode=True
};

GameIni parseGameIni(std::string_view text);

} // namespace kv::sim
