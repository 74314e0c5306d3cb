#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kv::core {

// One player of a status reply: display key ("Name", "EnemyKills", ...) to value text. The name is never empty.
struct StatusPlayer {
    int number = 0; // the n of "player_n" in the reply
    std::map<std::string, std::string, std::less<>> values;

    const std::string& value(std::string_view displayKey) const;
    bool operator==(const StatusPlayer&) const = default;
};

// What a game server said about itself: the key table (display key to value text, only the keys that the reply
// carried) and the players. The accessors read missing keys as empty texts and zero numbers.
class ServerStatus {
public:
    using KeyTable = std::map<std::string, std::string, std::less<>>;

    ServerStatus() = default;
    ServerStatus(KeyTable keys, std::vector<StatusPlayer> players);

    const KeyTable& keys() const { return keys_; }
    const std::vector<StatusPlayer>& players() const { return players_; }
    bool has(std::string_view displayKey) const;
    const std::string& value(std::string_view displayKey) const;

    int playerCount() const;
    const std::string& mapName() const;
    const std::string& missionTime() const;
    const std::string& version() const;
    bool cheats() const;
    bool official() const;
    bool leased() const;
    bool miles() const;
    int maxPlayers() const;
    int minHonor() const;
    int maxHonor() const;
    int scoreTeam0() const;
    int scoreTeam1() const;
    // "CurrentRound" holds "round/games per match", e.g. "3/5".
    int currentRound() const;
    int gamesPerMatch() const; // 0 when there is no "/"

    bool operator==(const ServerStatus&) const = default;

private:
    int number(std::string_view displayKey) const;
    bool isOne(std::string_view displayKey) const;

    KeyTable keys_;
    std::vector<StatusPlayer> players_;
};

} // namespace kv::core
