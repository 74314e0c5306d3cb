#include "manager/setups/SetupFields.h"

namespace kv::setups {

namespace {

using S = ServerSetup;

constexpr SetupField text(std::string_view key, std::string S::*m, bool league, std::string_view def = {}) {
    return SetupField{key, m, league, def, 0, 0};
}
constexpr SetupField integer(std::string_view key, int S::*m, int def, bool league) {
    return SetupField{key, m, league, {}, def, 0};
}
constexpr SetupField real(std::string_view key, float S::*m, float def) {
    return SetupField{key, m, true, {}, 0, def};
}
template <typename Array>
constexpr SetupField array(std::string_view key, Array S::*m, bool league, int def = 0) {
    return SetupField{key, m, league, {}, def, 0};
}

const SetupField kFields[] = {
    text("m_csLeagueName", &S::m_csLeagueName, true),
    text("m_csTournamentEventName", &S::m_csTournamentEventName, false),
    text("m_csMatchName", &S::m_csMatchName, false),
    text("m_csName", &S::m_csName, false),
    text("m_csMapName", &S::m_csMapName, false),
    text("m_csMapFile", &S::m_csMapFile, false),
    text("m_csPlayerPassword", &S::m_csPlayerPassword, false),
    text("m_csAdminPassword", &S::m_csAdminPassword, false),
    text("m_csAdminName", &S::m_csAdminName, false),
    text("m_csAdminEmail", &S::m_csAdminEmail, false),
    text("m_csPlayerAdminList", &S::m_csPlayerAdminList, false),
    text("m_csServerName", &S::m_csServerName, false),
    text("m_csShortName", &S::m_csShortName, false),
    text("m_csMultiHomedServerIP", &S::m_csMultiHomedServerIP, false),
    text("m_csGamespyBrowserServerIP", &S::m_csGamespyBrowserServerIP, false),
    array("m_aiLegalGroups", &S::m_aiLegalGroups, false, -1),
    text("m_csScoreMode", &S::m_csScoreMode, true, "SSM_On"),
    array("m_acsCycleMapList", &S::m_acsCycleMapList, false),
    array("m_acsMOTD", &S::m_acsMOTD, true),
    array("m_acsTournamentTeamName", &S::m_acsTournamentTeamName, false),
    array("m_acsTournamentTeamPassword", &S::m_acsTournamentTeamPassword, false),
    integer("m_iServerPort", &S::m_iServerPort, 1716, true),
    integer("m_iLeagueID", &S::m_iLeagueID, 0, true),
    integer("m_iRegion", &S::m_iRegion, 0, false),
    integer("m_iServerRegion", &S::m_iServerRegion, 0, false),
    integer("m_iMOTDDisplaySeconds", &S::m_iMOTDDisplaySeconds, 10, true),
    integer("m_iMaxPlayers", &S::m_iMaxPlayers, 26, true),
    integer("m_iMaxSpectators", &S::m_iMaxSpectators, 2, true),
    integer("m_iMaxAdmins", &S::m_iMaxAdmins, 2, true),
    integer("m_iRoundLength", &S::m_iRoundLength, 10, true),
    integer("m_iDelayedRoundStartTimeSeconds", &S::m_iDelayedRoundStartTimeSeconds, 0, true),
    integer("m_iRoundsPerMatch", &S::m_iRoundsPerMatch, 7, true),
    integer("m_iMatchesBeforeCycle", &S::m_iMatchesBeforeCycle, 1, true),
    integer("m_iInitialWarmupTime", &S::m_iInitialWarmupTime, 60, true),
    integer("m_iMinHonor", &S::m_iMinHonor, 10, true),
    integer("m_iMaxHonor", &S::m_iMaxHonor, 100, true),
    integer("m_iVotekickCooldownTime", &S::m_iVotekickCooldownTime, 3, true),
    integer("m_iMaxTeamSize", &S::m_iMaxTeamSize, 13, true),
    integer("m_iMinNetPlayers", &S::m_iMinNetPlayers, 1, true),
    integer("m_iFFScoreLimit", &S::m_iFFScoreLimit, 400, true),
    integer("m_iIdlePlayerKickTime", &S::m_iIdlePlayerKickTime, 5, true),
    integer("m_iIdlePlayerKickRounds", &S::m_iIdlePlayerKickRounds, 2, true),
    integer("m_iLogFileLifespanMinutes", &S::m_iLogFileLifespanMinutes, 60, true),
    integer("m_iMaxAINPCsToSpawn", &S::m_iMaxAINPCsToSpawn, -1, true),
    real("m_fpNPCInitialSpawnDelay", &S::m_fpNPCInitialSpawnDelay, 1.5f),
    real("m_fpNPCSpawnDelay", &S::m_fpNPCSpawnDelay, 0.1f),
    real("m_fpMaxNPCToPlayerRatio", &S::m_fpMaxNPCToPlayerRatio, 0.0f),
    integer("m_iTournamentRoundDelayTime", &S::m_iTournamentRoundDelayTime, 15, true),
    integer("m_iTournamentRequestDelayTime", &S::m_iTournamentRequestDelayTime, 30, true),
    integer("m_iTournamentWarmupDuration", &S::m_iTournamentWarmupDuration, 5, true),
    integer("m_iTournamentSwapLimit", &S::m_iTournamentSwapLimit, 0, true),
    integer("m_iTournamentSwapTime", &S::m_iTournamentSwapTime, 90, true),
    integer("m_iTournamentPauseTime", &S::m_iTournamentPauseTime, 0, true),
    integer("m_fGSNATEnabled", &S::m_fGSNATEnabled, 1, false),
    integer("m_fLANOnly", &S::m_fLANOnly, 0, false),
    integer("m_fEnableStatLogging", &S::m_fEnableStatLogging, 1, true),
    integer("m_fTournamentModeEnabled", &S::m_fTournamentModeEnabled, 0, true),
    integer("m_fTournamentOpenAllWeaponClassSlots", &S::m_fTournamentOpenAllWeaponClassSlots, 0, true),
    integer("m_fSecurityEnableCodeCheck", &S::m_fSecurityEnableCodeCheck, 1, true),
    integer("m_fSecurityEnableMapCheck", &S::m_fSecurityEnableMapCheck, 1, true),
    integer("m_fDisablePlayerShadows", &S::m_fDisablePlayerShadows, 0, true),
    integer("m_fDisableESS", &S::m_fDisableESS, 0, true),
    integer("m_fDemoShowcaseMode", &S::m_fDemoShowcaseMode, 0, true),
    integer("m_fCycleMaps", &S::m_fCycleMaps, 0, true),
    integer("m_fHideDeathMessages", &S::m_fHideDeathMessages, 0, true),
    integer("m_fCheatsEnabled", &S::m_fCheatsEnabled, 0, true),
    integer("m_fRequireAuthorization", &S::m_fRequireAuthorization, 1, true),
    integer("m_fPlayersBalanceTeam", &S::m_fPlayersBalanceTeam, 0, true),
    integer("m_fAutoBalanceBetweenRounds", &S::m_fAutoBalanceBetweenRounds, 1, true),
    integer("m_fNeverAutoBalance", &S::m_fNeverAutoBalance, 0, true),
    integer("m_fKickIdleSpectators", &S::m_fKickIdleSpectators, 0, true),
    integer("m_fKickIdlePlayersTimed", &S::m_fKickIdlePlayersTimed, 1, true),
    integer("m_fKickIdlePlayersRounds", &S::m_fKickIdlePlayersRounds, 0, true),
    integer("m_fForceNormal", &S::m_fForceNormal, 0, true),
    integer("m_fForceMiles", &S::m_fForceMiles, 0, true),
    integer("m_fSpectatePlayersOnly", &S::m_fSpectatePlayersOnly, 1, true),
    integer("m_fSpectateFirstPersonOnly", &S::m_fSpectateFirstPersonOnly, 1, true),
    integer("m_fSpectateFriendsOnly", &S::m_fSpectateFriendsOnly, 1, true),
    integer("m_fTournamentTieSuddenDeath", &S::m_fTournamentTieSuddenDeath, 1, true),
    integer("m_fTournamentTieScore", &S::m_fTournamentTieScore, 0, true),
    integer("m_fTournamentMercyRule", &S::m_fTournamentMercyRule, 1, true),
    integer("m_fTournamentEnableRandomTeamAssignments", &S::m_fTournamentEnableRandomTeamAssignments, 0, true),
    integer("m_fTournamentTeamCaptainsAllowed", &S::m_fTournamentTeamCaptainsAllowed, 1, true),
    integer("m_fEnableROEKick", &S::m_fEnableROEKick, 1, true),
    integer("m_fEnableROEKickDeath", &S::m_fEnableROEKickDeath, 0, true),
    integer("m_fEnableROEKickTimer", &S::m_fEnableROEKickTimer, 1, true),
    integer("m_fMuteSpectators", &S::m_fMuteSpectators, 0, true),
    integer("m_fAllowWeaponThrowing", &S::m_fAllowWeaponThrowing, 1, true),
    integer("m_fWeaponsStay", &S::m_fWeaponsStay, 0, true),
    integer("m_fMuteSpectators", &S::m_fMuteSpectators, 0, true),
    integer("m_fHUDHideAmmoCount", &S::m_fHUDHideAmmoCount, 0, true),
    integer("m_fHUDHideWeaponStatus", &S::m_fHUDHideWeaponStatus, 0, true),
    integer("m_fHUDHideWeapon", &S::m_fHUDHideWeapon, 0, true),
    integer("m_fHUDHideGrenades", &S::m_fHUDHideGrenades, 0, true),
    integer("m_fHUDHideHealth", &S::m_fHUDHideHealth, 0, true),
    integer("m_fHUDHideCombatEffect", &S::m_fHUDHideCombatEffect, 0, true),
    integer("m_fHUDHideOptics", &S::m_fHUDHideOptics, 0, true),
    integer("m_fHUDHideCompass", &S::m_fHUDHideCompass, 0, true),
    integer("m_fHUDHideTimer", &S::m_fHUDHideTimer, 0, true),
    integer("m_fHUDHideRadar", &S::m_fHUDHideRadar, 0, true),
    integer("m_fDisableFragGrenades", &S::m_fDisableFragGrenades, 0, true),
    integer("m_fDisableFlashbangs", &S::m_fDisableFlashbangs, 0, true),
    integer("m_fDisableSmokeGrenades", &S::m_fDisableSmokeGrenades, 0, true),
    integer("m_fDisableThermiteGrenades", &S::m_fDisableThermiteGrenades, 0, true),
    integer("m_fDisable203Grenades", &S::m_fDisable203Grenades, 0, true),
    integer("m_fOpenAllWeaponClassSlots", &S::m_fOpenAllWeaponClassSlots, 0, true),
    integer("m_iLogChatLevel", &S::m_iLogChatLevel, 0, true),
    text("m_csSetupDescription", &S::m_csSetupDescription, false),
};

} // namespace

std::span<const SetupField> setupFields() { return kFields; }

} // namespace kv::setups
