#include "manager/core/StatusReply.h"

#include "common/DecimalNumber.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>

namespace kv::core {

namespace {

constexpr std::array<StatusKey, 29> kKeys = {{
    {"numplayers", "NumberPlayers"},
    {"gamever", "Version"},
    {"hostname", "HostName"},
    {"gamename", "GameName"},
    {"hostport", "HostPort"},
    {"mapname", "MapName"},
    {"gametype", "GameType"},
    {"maxplayers", "MaxPlayers"},
    {"numteams", "NumTeams"},
    {"tour", "Tour"},
    {"official", "Official"},
    {"leased", "Leased"},
    {"miles", "Miles"},
    {"cheats", "Cheats"},
    {"tournament", "Tournament"},
    {"nato", "NATO"},
    {"minhonor", "MinHonor"},
    {"maxhonor", "MaxHonor"},
    {"password", "Password"},
    {"sv_punkbuster", "Punkbuster"},
    {"sv_punkbuster", "PunkBuster"},
    {"AdminName", "AdminName"},
    {"AdminEmail", "AdminEmail"},
    {"gamemode", "GameMode"},
    {"current_round", "CurrentRound"},
    {"mission_time", "MissionTime"},
    {"score_t0", "ScoreTeam0"},
    {"score_t1", "ScoreTeam1"},
    {"ultimate_arena", "UltimateArena"},
}};

constexpr std::array<StatusKey, 7> kPlayerKeys = {{
    {"player", "Name"},
    {"enemy", "EnemyKills"},
    {"kia", "KIA"},
    {"ping", "Ping"},
    {"honor", "Honor"},
    {"leader", "LeaderPoints"},
    {"goal", "GoalPoints"},
}};

} // namespace

std::span<const StatusKey> statusKeys() {
    return kKeys;
}
std::span<const StatusKey> statusPlayerKeys() {
    return kPlayerKeys;
}

void forEachStatusPair(std::string_view reply,
                       const std::function<bool(std::string_view key, std::string_view value)>& pair) {
    std::size_t at = reply.find('\\');
    if (at == std::string_view::npos)
        return;
    ++at;
    while (at < reply.size()) {
        const std::size_t keyEnd = reply.find('\\', at);
        if (keyEnd == std::string_view::npos) {
            pair(reply.substr(at), {});
            return;
        }
        const std::string_view key = reply.substr(at, keyEnd - at);
        at = keyEnd + 1;
        if (key.empty())
            continue;
        const std::size_t valueEnd = reply.find('\\', at);
        if (valueEnd == std::string_view::npos) {
            pair(key, {});
            return;
        }
        if (!pair(key, reply.substr(at, valueEnd - at)))
            return;
        at = valueEnd + 1;
    }
}

bool statusReplyComplete(std::string_view reply) {
    bool complete = false;
    forEachStatusPair(reply, [&](std::string_view key, std::string_view) {
        complete = key == "final";
        return !complete;
    });
    return complete;
}

ServerStatus parseStatusReply(std::string_view reply) {
    std::unordered_map<std::string_view, std::string_view> pairs;
    forEachStatusPair(reply.substr(0, kStatusReplyLimit), [&](std::string_view key, std::string_view value) {
        pairs.emplace(key, value);
        return true;
    });
    auto valueOf = [&](std::string_view key) -> const std::string_view* {
        auto found = pairs.find(key);
        return found == pairs.end() ? nullptr : &found->second;
    };

    ServerStatus::KeyTable keys;
    for (const StatusKey& key : kKeys)
        if (const std::string_view* value = valueOf(key.replyKey))
            keys.emplace(key.displayKey, *value);

    std::vector<StatusPlayer> players;
    const std::string_view* numplayers = valueOf("numplayers");
    const int count = std::clamp(numplayers ? parseDecimalInt(*numplayers) : 0, 0, kStatusPlayerLimit);
    for (int n = 0; n < count; ++n) {
        const std::string suffix = "_" + std::to_string(n);
        const std::string_view* name = valueOf(std::string(kPlayerKeys[0].replyKey) + suffix);
        if (!name || name->empty())
            continue;
        StatusPlayer player;
        player.number = n;
        for (const StatusKey& key : kPlayerKeys)
            if (const std::string_view* value = valueOf(std::string(key.replyKey) + suffix))
                player.values.emplace(key.displayKey, *value);
        players.push_back(std::move(player));
    }
    return ServerStatus(std::move(keys), std::move(players));
}

} // namespace kv::core
