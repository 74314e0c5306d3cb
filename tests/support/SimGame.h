#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kv::test {

// A game folder whose server program is the simulator, for tests that start "the game server":
//   <folder>/System/server.bin   a link to kvsim
//   <folder>/Maps/Harbor.kvo, Depot.kvo, Ridge.kvo
//   <folder>/System/pb/pbsv.cfg  (anti-cheat folder with svss/ and svlogs/)
//   <folder>/kvsim.conf          the simulator's settings, see writeSettings()
class SimGame {
public:
    // `kvsimPath` is the built simulator, usually KV_BIN_DIR "/kvsim".
    SimGame(std::string folder, std::string kvsimPath);

    // Creates the folder layout; false (with `error`) when something cannot be made.
    bool create(std::string* error = nullptr) const;

    const std::string& folder() const { return folder_; }
    std::string systemFolder() const;
    std::string serverProgram() const; // <folder>/System/server.bin
    std::string mapsFolder() const;

    // Replaces kvsim.conf with these settings, e.g. {{"KVSIM_ADMIN_PORT", "23456"}, {"KVSIM_START_DELAY_MS", "0"}}.
    bool writeSettings(const std::vector<std::pair<std::string, std::string>>& settings) const;
    // Writes a game configuration file at `path` with the given server name and limits; returns `path` or "".
    static std::string writeIni(const std::string& path, const std::string& serverName, int maxPlayers = 24,
                                int roundsPerMatch = 5);

    // The map files that create() makes.
    static const std::vector<std::string>& maps();

private:
    std::string folder_;
    std::string kvsim_;
};

} // namespace kv::test
