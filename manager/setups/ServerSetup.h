#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kv::setups {

class MapTable;
struct MapInfo;

// One server setup: everything a dedicated game server needs to run. Field names keep their prefixed form because
// the .ServerConfig file uses them as keys. Strings are bytes as they stand; flags hold 0 or 1.
struct ServerSetup {
    std::string m_csLeagueName;
    std::string m_csTournamentEventName;
    std::string m_csMatchName;
    std::string m_csName;
    std::string m_csMapName;
    std::string m_csMapFile;
    std::string m_csPlayerPassword;
    std::string m_csAdminPassword;
    std::string m_csAdminName;
    std::string m_csAdminEmail;
    std::string m_csPlayerAdminList;
    std::string m_csServerName;
    std::string m_csShortName;
    std::string m_csMultiHomedServerIP;
    std::string m_csGamespyBrowserServerIP;
    std::array<int, 32> m_aiLegalGroups{};
    std::string m_csScoreMode;
    std::array<std::string, 20> m_acsCycleMapList;
    std::array<std::string, 4> m_acsMOTD;
    std::array<std::string, 2> m_acsTournamentTeamName;
    std::array<std::string, 2> m_acsTournamentTeamPassword;
    int m_iServerPort = 0;
    int m_iLeagueID = 0;
    int m_iRegion = 0;
    int m_iServerRegion = 0;
    int m_iMOTDDisplaySeconds = 0;
    int m_iMaxPlayers = 0;
    int m_iMaxSpectators = 0;
    int m_iMaxAdmins = 0;
    int m_iRoundLength = 0;
    int m_iDelayedRoundStartTimeSeconds = 0;
    int m_iRoundsPerMatch = 0;
    int m_iMatchesBeforeCycle = 0;
    int m_iInitialWarmupTime = 0;
    int m_iMinHonor = 0;
    int m_iMaxHonor = 0;
    int m_iVotekickCooldownTime = 0;
    int m_iMaxTeamSize = 0;
    int m_iMinNetPlayers = 0;
    int m_iFFScoreLimit = 0;
    int m_iIdlePlayerKickTime = 0;
    int m_iIdlePlayerKickRounds = 0;
    int m_iLogFileLifespanMinutes = 0;
    int m_iMaxAINPCsToSpawn = 0;
    float m_fpNPCInitialSpawnDelay = 0;
    float m_fpNPCSpawnDelay = 0;
    float m_fpMaxNPCToPlayerRatio = 0;
    int m_iTournamentRoundDelayTime = 0;
    int m_iTournamentRequestDelayTime = 0;
    int m_iTournamentWarmupDuration = 0;
    int m_iTournamentSwapLimit = 0;
    int m_iTournamentSwapTime = 0;
    int m_iTournamentPauseTime = 0;
    int m_fGSNATEnabled = 0;
    int m_fLANOnly = 0;
    int m_fEnableStatLogging = 0;
    int m_fTournamentModeEnabled = 0;
    int m_fTournamentOpenAllWeaponClassSlots = 0;
    int m_fSecurityEnableCodeCheck = 0;
    int m_fSecurityEnableMapCheck = 0;
    int m_fDisablePlayerShadows = 0;
    int m_fDisableESS = 0;
    int m_fDemoShowcaseMode = 0;
    int m_fCycleMaps = 0;
    int m_fHideDeathMessages = 0;
    int m_fCheatsEnabled = 0;
    int m_fRequireAuthorization = 0;
    int m_fPlayersBalanceTeam = 0;
    int m_fAutoBalanceBetweenRounds = 0;
    int m_fNeverAutoBalance = 0;
    int m_fKickIdleSpectators = 0;
    int m_fKickIdlePlayersTimed = 0;
    int m_fKickIdlePlayersRounds = 0;
    int m_fForceNormal = 0;
    int m_fForceMiles = 0;
    int m_fSpectatePlayersOnly = 0;
    int m_fSpectateFirstPersonOnly = 0;
    int m_fSpectateFriendsOnly = 0;
    int m_fTournamentTieSuddenDeath = 0;
    int m_fTournamentTieScore = 0;
    int m_fTournamentMercyRule = 0;
    int m_fTournamentEnableRandomTeamAssignments = 0;
    int m_fTournamentTeamCaptainsAllowed = 0;
    int m_fEnableROEKick = 0;
    int m_fEnableROEKickDeath = 0;
    int m_fEnableROEKickTimer = 0;
    int m_fMuteSpectators = 0;
    int m_fAllowWeaponThrowing = 0;
    int m_fWeaponsStay = 0;
    int m_fHUDHideAmmoCount = 0;
    int m_fHUDHideWeaponStatus = 0;
    int m_fHUDHideWeapon = 0;
    int m_fHUDHideGrenades = 0;
    int m_fHUDHideHealth = 0;
    int m_fHUDHideCombatEffect = 0;
    int m_fHUDHideOptics = 0;
    int m_fHUDHideCompass = 0;
    int m_fHUDHideTimer = 0;
    int m_fHUDHideRadar = 0;
    int m_fDisableFragGrenades = 0;
    int m_fDisableFlashbangs = 0;
    int m_fDisableSmokeGrenades = 0;
    int m_fDisableThermiteGrenades = 0;
    int m_fDisable203Grenades = 0;
    int m_fOpenAllWeaponClassSlots = 0;
    int m_iLogChatLevel = 0;
    std::string m_csSetupDescription;

    // Held, never written to the setup file.
    std::vector<std::string> leagueMapList; // from LeagueMap= lines; empty allows every map
    int mapCount = 1;                       // non-empty rotation entries, recounted on load and save
    std::string generatedIniName;           // filled by the configuration generator
    std::string generatedBatName;
    std::string generatedShName;
    std::string windowsStartCommand;        // the .bat line

    ServerSetup() { reset(); }

    // Gives every field its default.
    void reset();
    // Counts the non-empty rotation entries into mapCount and returns it.
    int countMaps();
    // True when the league map list is empty or names the map (letter case ignored).
    bool mapAllowed(std::string_view mapName) const;
    // The names of m_csPlayerAdminList, which keeps them separated by '&'; empty items are skipped.
    std::vector<std::string_view> playerAdmins() const;
    // The map table row of this setup's single map, or nullptr.
    const MapInfo* mapInfo(const MapTable& maps) const;

    bool operator==(const ServerSetup&) const = default;
};

// Fixed tables that setup fields index.
inline constexpr int kRegionCount = 13;
inline constexpr int kScoreModeCount = 4;
// Name of a region; empty for an index outside the table.
std::string_view regionName(int index);
// Scoreboard mode word ("SSM_On", ...); empty for an index outside the table.
std::string_view scoreModeWord(int index);

} // namespace kv::setups
