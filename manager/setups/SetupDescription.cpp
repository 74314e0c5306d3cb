#include "manager/setups/SetupDescription.h"

#include "common/Format.h"
#include "manager/setups/MapTable.h"

namespace kv::setups {

namespace {

std::string mapDescription(const MapTable& maps, const std::string& title) {
    const MapInfo* map = maps.find(title);
    return map ? map->description : std::string();
}

std::string playerAdmins(const ServerSetup& s) {
    std::string out = "\r\n**IMPORTANT**\r\nThis Setup Includes These Player Admins:\r\n";
    for (std::string_view name : s.playerAdmins())
        out.append("- ").append(name).append("\r\n");
    out.append("\r\n** Player Admins can modify your server's settings so only assign trusted players to this "
               "list.**\r\n\r\n");
    return out;
}

const char* scoreboard(const std::string& mode) {
    if (mode == "SSM_Match")
        return "Scoreboard Shows At End Of Match Only";
    if (mode == "SSM_On")
        return "Scoreboard Always On";
    if (mode == "SSM_Off")
        return "Scoreboard Always Off";
    if (mode == "SSM_Round")
        return "Scoreboard Shows At End Of Each Rounds Only";
    return "";
}

const char* allowed(int removed) { return removed ? "Removed" : "Allowed"; }

std::string grenadeRules(const ServerSetup& s) {
    return format("\r\nGrenade Rules:\r\n--------------------------\r\nFrag Grenades %s\r\nSmoke Grenades %s\r\n"
                  "Thermite Grenades %s\r\nFlashbang Grenades %s\r\n203 Reloads %s\r\n",
                  allowed(s.m_fDisableFragGrenades), allowed(s.m_fDisableSmokeGrenades),
                  allowed(s.m_fDisableThermiteGrenades), allowed(s.m_fDisableFlashbangs),
                  allowed(s.m_fDisable203Grenades));
}

const char* chatLogging(int level) {
    switch (level) {
    case 1:
        return "Log player chat text only (uses least space of logging options).\r\n";
    case 2:
        return "Log Admin Actions (kicks/class changes, PMs, text) and player chat text.  Useful for monitoring "
               "administrator activities.\r\n";
    case 3:
        return "Log all system messages (deaths, enter/exit server, etc.) plus all admin actions (kicks/class "
               "changes, PMs, text) and player chat text.  This uses the most space.\r\n";
    default:
        return "Chat logging disabled (saves disk space).";
    }
}

const char* roePhrase(const ServerSetup& s, bool tournament) {
    if (!s.m_fEnableROEKick)
        return "No ROE Kick";
    if (!s.m_fEnableROEKickDeath)
        return "ROE Kick Enabled";
    return tournament ? "ROE Kills Player" : " ROE Kills Player";
}

std::string tournamentText(const ServerSetup& s, const MapTable& maps, bool detailed, const std::string& admins) {
    std::string overview;
    if (detailed)
        overview = format("%s Map Overview\r\n--------------------------\r\n%s", s.m_csMapName.c_str(),
                          mapDescription(maps, s.m_csMapName).c_str());
    return format("Tournament Server Name (as shown in Deployment page): %s\r\nLeague: %s\r\nTournament: %s\r\n"
                  "%d on %d Tournament\r\n%d rounds per match\r\n%d minute rounds\r\n%s%s\r\n%s\r\n%s\r\n%s\r\n"
                  "\r\n%s\r\nNotes\r\n--------------------------\r\n",
                  s.m_csServerName.c_str(), s.m_csLeagueName.c_str(), s.m_csTournamentEventName.c_str(),
                  s.m_iMaxTeamSize, s.m_iMaxTeamSize, s.m_iRoundsPerMatch, s.m_iRoundLength, admins.c_str(),
                  roePhrase(s, true), scoreboard(s.m_csScoreMode), grenadeRules(s).c_str(),
                  chatLogging(s.m_iLogChatLevel), overview.c_str());
}

std::string standardOverview(const ServerSetup& s, const MapTable& maps) {
    if (!s.m_fCycleMaps)
        return format("Map \"%s\" Overview\r\n--------------------------------------------\r\n%s",
                      s.m_csMapName.c_str(), mapDescription(maps, s.m_csMapName).c_str());
    std::string out;
    for (const std::string& map : s.m_acsCycleMapList) {
        if (map.empty())
            continue;
        out.append("Map \"").append(map).append("\" Overview\r\n----------------------------\r\n");
        out.append(mapDescription(maps, map)).append("\r\n");
    }
    return out;
}

std::string standardText(const ServerSetup& s, const MapTable& maps, bool detailed, const std::string& admins) {
    std::string overview = detailed ? standardOverview(s, maps) : std::string();
    std::string delayed = s.m_iDelayedRoundStartTimeSeconds > 0
                              ? format("Delayed Start: %d seconds", s.m_iDelayedRoundStartTimeSeconds)
                              : std::string("Delayed Start: disabled");
    const MapInfo* map = maps.find(s.m_csMapName);
    return format(
        "%s \r\nServer Name (as shown in Deployment page): %s\r\n%s game play\r\n%d maximum players per team\r\n"
        "%d maximum players on server\r\n%d administrator%s\r\n%d is the minimum honor\r\n%d is the maximum honor\r\n"
        "%d rounds per match\r\n%d minute rounds\r\n%s\r\n%s%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n\r\n%s\r\nNotes\r\n"
        "--------------------------\r\n",
        s.m_fLANOnly ? "LAN or Non-Global Internet Server" : "Global Internet Server (appears in browser)",
        s.m_csServerName.c_str(), map && map->cooperative() ? "Cooperative Play" : "Standard Multiplayer",
        s.m_iMaxTeamSize, s.m_iMaxPlayers, s.m_iMaxAdmins, s.m_iMaxAdmins > 1 ? "s" : "", s.m_iMinHonor,
        s.m_iMaxHonor, s.m_iRoundsPerMatch, s.m_iRoundLength,
        s.m_fOpenAllWeaponClassSlots ? "All weapon slots opened" : "Weapon slots controlled by number of players",
        admins.c_str(), roePhrase(s, false), scoreboard(s.m_csScoreMode), grenadeRules(s).c_str(),
        chatLogging(s.m_iLogChatLevel), delayed.c_str(),
        s.m_fDisableESS ? "ES2 Disabled" : "ES2 allowed (if defined)", overview.c_str());
}

} // namespace

std::string describeSetup(const ServerSetup& setup, const MapTable& maps, bool detailed) {
    std::string admins = detailed && !setup.m_csPlayerAdminList.empty() ? playerAdmins(setup) : std::string();
    std::string text = setup.m_fTournamentModeEnabled ? tournamentText(setup, maps, detailed, admins)
                                                      : standardText(setup, maps, detailed, admins);
    text.append(setup.m_csSetupDescription);
    return text;
}

} // namespace kv::setups
