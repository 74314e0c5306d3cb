#include "sim/GameIni.h"

#include "common/DecimalNumber.h"
#include "common/Text.h"

#include <algorithm>
#include <set>

namespace kv::sim {

GameIni parseGameIni(std::string_view text) {
    GameIni ini;
    std::set<std::string> seen;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = trimLeft(chompLineBreak(text.substr(0, end == std::string_view::npos ? end : end + 1)));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || line[0] == ';' || line[0] == '[')
            continue;
        std::string key = toLowerAscii(trimRight(line.substr(0, equals)));
        std::string_view value = trim(line.substr(equals + 1));
        if (!seen.insert(key).second)
            continue;
        if (key == "servername" && !value.empty())
            ini.hostName = std::string(value);
        else if (key == "maxplayers")
            ini.maxPlayers = std::clamp(parseDecimalInt(value), 0, 64);
        else if (key == "roundspermatch")
            ini.roundsPerMatch = std::clamp(parseDecimalInt(value), 1, 99);
        else if (key == "port" && parseDecimalInt(value) > 0 && parseDecimalInt(value) < 65536)
            ini.gamePort = parseDecimalInt(value);
        else if (key == "adminname")
            ini.adminName = std::string(value);
        else if (key == "adminemail")
            ini.adminEmail = std::string(value);
        else if (key == "gamepassword")
            ini.passworded = !value.empty();
        else if (key == "btournamentmode")
            ini.tournament = equalsNoCase(value, "True");
    }
    return ini;
}

} // namespace kv::sim
