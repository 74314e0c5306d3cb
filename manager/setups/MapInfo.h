#pragma once

#include <string>

namespace kv::setups {

// One map of the game as the manager knows it.
struct MapInfo {
    std::string title;       // display name; setups name maps by it
    std::string name;        // the map's .kvo file
    std::string description; // lines of advice, each ending in CR LF
    int imageId = 0;         // picture among the built-in ones; 0: the picture is extImage
    int minPlayers = 0;
    int maxPlayers = 0;
    int defAdvantage = 0;
    int pictureHandle = 0; // run-time cache of the loaded picture; never read from a file
    int requiredMajorVersion = 0;
    int requiredMinorVersion = 0;
    int requiredSubMinorVersion = 0;
    int usedByLeague = 0;
    int notValidForTournaments = 0;
    int gamePlayType = 0; // 1: cooperative, players against computer-controlled opponents
    int recommendedMaxPlayers = 0;
    std::string extImage; // picture file under MapImages/

    bool cooperative() const { return gamePlayType == 1; }
    bool operator==(const MapInfo&) const = default;
};

// Version of the installed game; major 0 means unknown.
struct GameVersion {
    int major = 0;
    int minor = 0;
    int subMinor = 0;
};

// False when the map needs a newer game than the one installed; every map is available while the version is
// unknown.
bool mapAvailable(const MapInfo& map, const GameVersion& installed);

} // namespace kv::setups
