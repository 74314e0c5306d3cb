#include "manager/ui/setup/WizardRules.h"

#include "common/Format.h"
#include "manager/core/ManagerSettings.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"

#include <filesystem>
#include <system_error>

namespace kv::manager::ui {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

bool isControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

} // namespace

void prepareNewSetup(setups::ServerSetup& setup, SetupKind kind, const core::ManagerSettings& settings,
                     const setups::MapTable& maps, const setups::GameVersion& installed) {
    setup.reset();
    setup.m_csServerName = oneLine(settings.defServerName);
    setup.m_csAdminName = oneLine(settings.defAdminName);
    setup.m_csAdminEmail = oneLine(settings.defAdminEmail);
    setup.m_csAdminPassword = oneLine(settings.defAdminPassword);
    setup.m_csPlayerAdminList = oneLine(settings.defaultPlayerAdminList);
    setup.m_fSecurityEnableCodeCheck = settings.securityEnableCodeCheck != 0 ? 1 : 0;
    setup.m_fSecurityEnableMapCheck = settings.securityEnableMapCheck != 0 ? 1 : 0;
    if (kind == SetupKind::Tournament) {
        setup.m_fTournamentModeEnabled = 1;
        setup.m_acsTournamentTeamName = {"Home Team", "Away Team"};
    }
    const auto offered = offeredMaps(maps, setup, installed, kind);
    if (!offered.empty()) {
        setup.m_csMapName = offered.front()->title;
        setup.m_csMapFile = offered.front()->name;
    }
}

std::vector<const setups::MapInfo*> offeredMaps(const setups::MapTable& maps, const setups::ServerSetup& setup,
                                                const setups::GameVersion& installed, SetupKind kind) {
    std::vector<const setups::MapInfo*> out;
    for (std::size_t i = 0; i < maps.size(); ++i) {
        const setups::MapInfo& map = maps.row(i);
        if (!setups::mapAvailable(map, installed) || !setup.mapAllowed(map.title))
            continue;
        if (kind == SetupKind::Tournament && map.notValidForTournaments != 0)
            continue;
        out.push_back(&map);
    }
    return out;
}

std::string proposeSetupName(const setups::ServerSetup& setup, SetupKind kind, bool includeServerName) {
    const std::string league =
        setup.m_csLeagueName.empty() ? std::string() : format(" (%s)", setup.m_csLeagueName.c_str());
    const std::string prefix = includeServerName ? setup.m_csServerName : std::string();
    const char* separator = includeServerName || !league.empty() ? " - " : "";
    const char* network = setup.m_fLANOnly != 0 ? "LAN" : "Internet";
    if (kind == SetupKind::Tournament)
        return format("%s%s%s%d on %d %s %s %sTournament", prefix.c_str(), league.c_str(), separator,
                      setup.m_iMaxTeamSize, setup.m_iMaxTeamSize, setup.m_csMapName.c_str(), network,
                      setup.m_fTournamentTeamCaptainsAllowed != 0 ? "Team Captain Run " : "");
    const std::string maps = setup.m_fCycleMaps != 0
                                 ? format("Rotating %d Maps Starting with %s", setup.mapCount,
                                          setup.m_acsCycleMapList[0].c_str())
                                 : "on " + setup.m_csMapName;
    return format("%s%s%sStandard Gameplay %s Server %d Players %s", prefix.c_str(), league.c_str(), separator,
                  network, setup.m_iMaxPlayers, maps.c_str());
}

AdminPasswordVerdict judgeAdminPassword(std::string_view password) {
    if (password.empty())
        return AdminPasswordVerdict::Empty;
    if (password.find_first_of("#?") != std::string_view::npos)
        return AdminPasswordVerdict::ForbiddenSymbol;
    if (password.size() < 4 || password.find_first_of("-_+$!%@") == std::string_view::npos)
        return AdminPasswordVerdict::Weak;
    return AdminPasswordVerdict::Good;
}

std::string oneLine(std::string_view text) {
    std::string out;
    for (char c : text)
        if (!isControl(c))
            out.push_back(c);
    return out;
}

std::string cleanLines(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c == '\n' || !isControl(c))
            out.push_back(c);
    return out;
}

std::string trimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return std::string(text);
}

bool setupNameRefused(std::string_view name) {
    return name.find_first_of("./\\,:") != std::string_view::npos || !setups::isUsableSetupName(name);
}

bool setupNameInUse(const std::string& workingFolder, std::string_view name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::path(workingFolder) / std::string(setups::kSetupsFolderName);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        const std::string_view ext = setups::kSetupExtension;
        if (file.size() > ext.size() && equalNoCase(std::string_view(file).substr(file.size() - ext.size()), ext) &&
            equalNoCase(std::string_view(file).substr(0, file.size() - ext.size()), name))
            return true;
    }
    return false;
}

} // namespace kv::manager::ui
