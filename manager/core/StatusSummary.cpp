#include "manager/core/StatusSummary.h"

#include "common/Format.h"

namespace kv::core {

std::string statusSummary(const ServerStatus& s) {
    return format("Version: %s,  Current Map: \"%s\"\r\nGames Per Match: %d\r\nCurrent Round: %d, Game Time "
                  "Remaining: %s\r\nCurrent Players: %d, Max Players: %d\r\nTeam 0 Score: %d, Team 1 Score: "
                  "%d\r\nStatus: %s%s %s %s\r\nMinimum Honor: %d, Maximum Honor: %d\r\n",
                  s.version().c_str(), s.mapName().c_str(), s.gamesPerMatch(), s.currentRound(),
                  s.missionTime().c_str(), s.playerCount(), s.maxPlayers(), s.scoreTeam0(), s.scoreTeam1(),
                  s.cheats() ? "Cheats Enabled" : "", s.leased() ? " Leased Server" : "",
                  s.official() ? "Official" : "Unofficial", s.miles() ? "MILES" : "Live Fire", s.minHonor(),
                  s.maxHonor());
}

} // namespace kv::core
