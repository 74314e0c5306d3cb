#include "tests/support/SimGame.h"

#include "common/Files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace kv::test {

namespace {

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return out.good();
}

} // namespace

SimGame::SimGame(std::string folder, std::string kvsimPath) : folder_(std::move(folder)), kvsim_(std::move(kvsimPath)) {}

std::string SimGame::systemFolder() const { return joinPath(folder_, "System"); }
std::string SimGame::serverProgram() const { return joinPath(systemFolder(), "server.bin"); }
std::string SimGame::mapsFolder() const { return joinPath(folder_, "Maps"); }

const std::vector<std::string>& SimGame::maps() {
    static const std::vector<std::string> names = {"Harbor.kvo", "Depot.kvo", "Ridge.kvo"};
    return names;
}

bool SimGame::create(std::string* error) const {
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what;
        return false;
    };
    std::string pb = joinPath(systemFolder(), "pb");
    for (const std::string& dir : {mapsFolder(), joinPath(pb, "svss"), joinPath(pb, "svlogs")})
        if (!makeDirectories(dir))
            return fail("cannot create " + dir);
    ::unlink(serverProgram().c_str());
    if (::symlink(kvsim_.c_str(), serverProgram().c_str()) != 0)
        return fail("cannot link " + serverProgram() + ": " + std::strerror(errno));
    for (const auto& map : maps())
        if (!writeText(joinPath(mapsFolder(), map), "KVMAP placeholder " + map + "\n"))
            return fail("cannot write map " + map);
    if (!writeText(joinPath(pb, "pbsv.cfg"), "pb_sv_enable\npb_sv_SsFreq 5\n") ||
        !writeText(joinPath(pb, "pbsvuser.cfg"), "pb_sv_kicklen 5\n"))
        return fail("cannot write the anti-cheat files");
    return true;
}

bool SimGame::writeSettings(const std::vector<std::pair<std::string, std::string>>& settings) const {
    std::string text = "# written by the test\n";
    for (const auto& [key, value] : settings)
        text += key + "=" + value + "\n";
    return writeText(joinPath(folder_, "kvsim.conf"), text);
}

std::string SimGame::writeIni(const std::string& path, const std::string& serverName, int maxPlayers,
                              int roundsPerMatch) {
    std::string text = "[Engine.GameInfo]\r\nServerName=" + serverName + "\r\nMaxPlayers=" +
                       std::to_string(maxPlayers) + "\r\nRoundsPerMatch=" + std::to_string(roundsPerMatch) +
                       "\r\nAdminName=Admin\r\nAdminEmail=admin@example.invalid\r\nPort=1716\r\n";
    makeDirectories(std::string(dirName(path)));
    return writeText(path, text) ? path : std::string();
}

} // namespace kv::test
