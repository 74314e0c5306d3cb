#include "manager/core/ServerStatus.h"

#include "common/DecimalNumber.h"

namespace kv::core {

namespace {

const std::string kEmpty;

template <typename Table> const std::string& lookUp(const Table& table, std::string_view key) {
    auto found = table.find(key);
    return found == table.end() ? kEmpty : found->second;
}

} // namespace

const std::string& StatusPlayer::value(std::string_view displayKey) const {
    return lookUp(values, displayKey);
}

ServerStatus::ServerStatus(KeyTable keys, std::vector<StatusPlayer> players)
    : keys_(std::move(keys)), players_(std::move(players)) {}

bool ServerStatus::has(std::string_view displayKey) const {
    return keys_.find(displayKey) != keys_.end();
}
const std::string& ServerStatus::value(std::string_view displayKey) const {
    return lookUp(keys_, displayKey);
}

int ServerStatus::number(std::string_view displayKey) const {
    return parseDecimalInt(value(displayKey));
}
bool ServerStatus::isOne(std::string_view displayKey) const {
    return value(displayKey) == "1";
}

int ServerStatus::playerCount() const {
    return number("NumberPlayers");
}
const std::string& ServerStatus::mapName() const {
    return value("MapName");
}
const std::string& ServerStatus::missionTime() const {
    return value("MissionTime");
}
const std::string& ServerStatus::version() const {
    return value("Version");
}
bool ServerStatus::cheats() const {
    return isOne("Cheats");
}
bool ServerStatus::official() const {
    return isOne("Official");
}
bool ServerStatus::leased() const {
    return isOne("Leased");
}
bool ServerStatus::miles() const {
    return isOne("Miles");
}
int ServerStatus::maxPlayers() const {
    return number("MaxPlayers");
}
int ServerStatus::minHonor() const {
    return number("MinHonor");
}
int ServerStatus::maxHonor() const {
    return number("MaxHonor");
}
int ServerStatus::scoreTeam0() const {
    return number("ScoreTeam0");
}
int ServerStatus::scoreTeam1() const {
    return number("ScoreTeam1");
}
int ServerStatus::currentRound() const {
    return number("CurrentRound");
}

int ServerStatus::gamesPerMatch() const {
    const std::string& round = value("CurrentRound");
    std::size_t slash = round.find('/');
    return slash == std::string::npos ? 0 : parseDecimalInt(std::string_view(round).substr(slash + 1));
}

} // namespace kv::core
