#include "sim/StatusReply.h"

#include "common/Format.h"

namespace kv::sim {

namespace {

constexpr std::string_view kRequest = "\\info\\\\status\\gamestats\\\\players\\\\";
static_assert(kRequest.size() == 34);

std::string clean(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c == '\\' || c == '\0' || c == '\n' || c == '\r')
            c = c == '\\' ? '/' : ' ';
    return result;
}

void add(std::string& out, const char* key, std::string_view value) {
    out.append("\\").append(key).append("\\").append(clean(value));
}

void add(std::string& out, const char* key, int value) { add(out, key, std::to_string(value)); }

} // namespace

std::string_view statusRequest() { return kRequest; }

bool isStatusRequest(std::string_view datagram) { return datagram == kRequest; }

std::vector<std::string> buildStatusReply(const ServerStatusSnapshot& s) {
    std::string first;
    add(first, "gamename", "korvane");
    add(first, "gamever", s.version);
    add(first, "hostport", s.hostPort);
    add(first, "gametype", s.gameType);
    add(first, "gamemode", s.gameMode);
    add(first, "numplayers", static_cast<int>(s.players.size()));
    add(first, "maxplayers", s.maxPlayers);
    add(first, "numteams", 2);
    add(first, "tour", s.currentRound);
    add(first, "official", 0);
    add(first, "leased", 0);
    add(first, "miles", 0);
    add(first, "cheats", 0);
    add(first, "tournament", s.tournament ? 1 : 0);
    add(first, "nato", 1);
    add(first, "minhonor", s.minHonor);
    add(first, "maxhonor", s.maxHonor);
    add(first, "password", s.passworded ? 1 : 0);
    add(first, "sv_punkbuster", s.punkBuster ? 1 : 0);
    add(first, "current_round", format("%d/%d", s.currentRound, s.roundsPerMatch));
    add(first, "mission_time", s.missionTime);
    add(first, "score_t0", s.scoreTeam0);
    add(first, "score_t1", s.scoreTeam1);
    add(first, "ultimate_arena", 0);
    add(first, "mapname", s.mapName);
    add(first, "AdminName", s.adminName);
    add(first, "AdminEmail", s.adminEmail);
    add(first, "hostname", s.hostName);
    add(first, "queryid", "1.1");

    std::string second;
    for (std::size_t n = 0; n < s.players.size(); ++n) {
        const PlayerStatus& p = s.players[n];
        for (auto [base, value] : {std::pair{"enemy", p.enemyKills}, {"kia", p.kia}, {"ping", p.ping},
                                   {"honor", p.honor}, {"leader", p.leaderPoints}, {"goal", p.goalPoints}})
            add(second, format("%s_%zu", base, n).c_str(), value);
    }
    for (std::size_t n = 0; n < s.players.size(); ++n)
        add(second, format("player_%zu", n).c_str(), s.players[n].name);
    add(second, "queryid", "1.2");
    second.append("\\final\\");
    return {first, second};
}

} // namespace kv::sim
