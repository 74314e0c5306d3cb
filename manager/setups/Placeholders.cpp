#include "manager/setups/Placeholders.h"

#include "common/Format.h"
#include "common/Text.h"

#include <charconv>

namespace kv::setups {

namespace {

using Ctx = PlaceholderContext;

void flag(std::string& out, int value) { out.append(value ? "True" : "False"); }

void number(std::string& out, int value) {
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void real(std::string& out, float value) { appendFormat(out, "%4.2f", static_cast<double>(value)); }

void legalGroups(const Ctx& c, std::string& out) {
    bool any = false;
    for (int group : c.setup.m_aiLegalGroups) {
        if (group == -1)
            continue;
        out.append(any ? "," : "LegalGroups=");
        number(out, group);
        any = true;
    }
}

void mapFile(const Ctx& c, std::string& out) {
    if (c.setup.mapCount == 0) {
        out.append(c.setup.m_csMapFile);
        return;
    }
    std::string file = firstRotationMapFile(c.setup, c.maps);
    if (file.empty())
        return; // the first rotation map is unknown: nothing written, m_csMapFile kept
    out.append(file);
    c.setup.m_csMapFile = std::move(file);
}

void gameSpyAddress(const Ctx& c, std::string& out) {
    const std::string* candidates[] = {&c.setup.m_csMultiHomedServerIP, &c.authorization.address,
                                       &c.setup.m_csGamespyBrowserServerIP};
    for (const std::string* address : candidates) {
        if (!address->empty()) {
            out.append("IP=").append(*address).push_back('\n');
            return;
        }
    }
}

void playerAdmins(const Ctx& c, std::string& out) {
    for (std::string_view name : c.setup.playerAdmins())
        out.append("PlayerAdmin=").append(name).push_back('\n');
}

void forceGameplay(const Ctx& c, std::string& out) {
    out.append(c.setup.m_fForceMiles ? "FORCE_MILES" : c.setup.m_fForceNormal ? "FORCE_NORMAL" : "FORCE_NONE");
}

#define KV_TEXT(name, field) {name, [](const Ctx& c, std::string& o) { o.append(c.setup.field); }}
#define KV_FLAG(name, field) {name, [](const Ctx& c, std::string& o) { flag(o, c.setup.field); }}
#define KV_INT(name, field) {name, [](const Ctx& c, std::string& o) { number(o, c.setup.field); }}
#define KV_REAL(name, field) {name, [](const Ctx& c, std::string& o) { real(o, c.setup.field); }}
#define KV_NOTHING(name) {name, [](const Ctx&, std::string&) {}}

const Placeholder kPlaceholders[] = {
    KV_TEXT("[$ServerName$]", m_csServerName),
    {"[$LegalGroups$]", legalGroups},
    KV_TEXT("[$ShortName$]", m_csShortName),
    KV_TEXT("[$sLeagueName$]", m_csLeagueName),
    KV_TEXT("[$sMatchName$]", m_csMatchName),
    KV_TEXT("[$sTournamentName$]", m_csTournamentEventName),
    {"[$MapFile$]", mapFile},
    {"[$DefaultServerGame$]",
     [](const Ctx& c, std::string& o) {
         o.append(c.setup.m_fTournamentModeEnabled ? "DefaultServerGame=KVP_Gameplay.KVP_GameTournament"
                                                   : "DefaultServerGame=KVP_Gameplay.KVP_GameTeamObjective");
     }},
    KV_TEXT("[$TournamentTeamPassword[0]$]", m_acsTournamentTeamPassword[0]),
    KV_TEXT("[$TournamentTeamPassword[1]$]", m_acsTournamentTeamPassword[1]),
    KV_TEXT("[$asTournamentTeamName[0]$]", m_acsTournamentTeamName[0]),
    KV_TEXT("[$asTournamentTeamName[1]$]", m_acsTournamentTeamName[1]),
    KV_FLAG("[$bTournamentTieSuddenDeath$]", m_fTournamentTieSuddenDeath),
    KV_FLAG("[$bDemoShowcaseMode$]", m_fDemoShowcaseMode),
    KV_FLAG("[$bEnableMapTesting$]", m_fSecurityEnableMapCheck),
    KV_FLAG("[$bEnableCodeTesting$]", m_fSecurityEnableCodeCheck),
    KV_FLAG("[$bForceShadowsOff$]", m_fDisablePlayerShadows),
    KV_FLAG("[$bDisableESS$]", m_fDisableESS),
    {"[$ServerPort$]",
     [](const Ctx& c, std::string& o) {
         o.append("Port=");
         number(o, c.setup.m_iServerPort == 0 ? 1716 : c.setup.m_iServerPort);
     }},
    KV_FLAG("[$bTournamentTieScore$]", m_fTournamentTieScore),
    KV_FLAG("[$bTournamentMercyRule$]", m_fTournamentMercyRule),
    KV_FLAG("[$bTournamentEnableRandomTeamAssignments$]", m_fTournamentEnableRandomTeamAssignments),
    KV_FLAG("[$bTournamentTeamCaptainsAllowed$]", m_fTournamentTeamCaptainsAllowed),
    {"[$bTournamentTeamPasswordsRequired$]",
     [](const Ctx& c, std::string& o) {
         flag(o, !c.setup.m_acsTournamentTeamPassword[0].empty() && !c.setup.m_acsTournamentTeamPassword[1].empty());
     }},
    KV_FLAG("[$bTournamentOpenAllWeaponClassSlots$]", m_fTournamentOpenAllWeaponClassSlots),
    KV_NOTHING("[$EndOfFile$]"),
    KV_INT("[$iMaxAINPCsToSpawn$]", m_iMaxAINPCsToSpawn),
    KV_REAL("[$fpNPCInitialSpawnDelay$]", m_fpNPCInitialSpawnDelay),
    KV_REAL("[$fpNPCSpawnDelay$]", m_fpNPCSpawnDelay),
    KV_REAL("[$fpMaxNPCToPlayerRatio$]", m_fpMaxNPCToPlayerRatio),
    KV_INT("[$iTournamentRoundDelayTime$]", m_iTournamentRoundDelayTime),
    KV_INT("[$iTournamentPauseLimit$]", m_iTournamentPauseTime),
    KV_INT("[$iTournamentRequestDelayTime$]", m_iTournamentRequestDelayTime),
    KV_INT("[$iTournamentWarmupDuration$]", m_iTournamentWarmupDuration),
    KV_INT("[$iTournamentSwapLimit$]", m_iTournamentSwapLimit),
    KV_INT("[$iTournamentSwapTime$]", m_iTournamentSwapTime),
    KV_INT("[$Region$]", m_iServerRegion),
    KV_INT("[$ServerRegion$]", m_iServerRegion),
    KV_TEXT("[$ScoreMode$]", m_csScoreMode),
    {"[$MultiHomeIP$]",
     [](const Ctx& c, std::string& o) { o.append("IP=").append(c.setup.m_csMultiHomedServerIP).push_back('\n'); }},
    {"[$GameSpyMultiHomeIP$]", gameSpyAddress},
    {"[$HonorServerUserName$]",
     [](const Ctx& c, std::string& o) {
         o.append("ServerAuthUsername=").append(c.authorization.userName).push_back('\n');
     }},
    {"[$HonorServerPassword$]",
     [](const Ctx& c, std::string& o) {
         o.append("ServerAuthPassword=").append(c.authorization.password).push_back('\n');
     }},
    {"[$GameSpyNatEnabled$]",
     [](const Ctx& c, std::string& o) {
         flag(o, c.setup.m_fGSNATEnabled);
         o.push_back('\n');
     }},
    KV_TEXT("[$AdminName$]", m_csAdminName),
    {"[$PlayerAdminList$]", playerAdmins},
    KV_TEXT("[$AdminEmail$]", m_csAdminEmail),
    KV_TEXT("[$MOTDLine1$]", m_acsMOTD[0]),
    KV_TEXT("[$MOTDLine2$]", m_acsMOTD[1]),
    KV_TEXT("[$MOTDLine3$]", m_acsMOTD[2]),
    KV_TEXT("[$MOTDLine4$]", m_acsMOTD[3]),
    KV_FLAG("[$bEnableROEKick$]", m_fEnableROEKick),
    KV_FLAG("[$bEnableROEKickDeath$]", m_fEnableROEKickDeath),
    KV_FLAG("[$bEnableROEKickTimer$]", m_fEnableROEKickTimer),
    KV_FLAG("[$bMuteSpectators$]", m_fMuteSpectators),
    KV_FLAG("[$bHUDHideAmmoCount$]", m_fHUDHideAmmoCount),
    KV_FLAG("[$bHUDHideWeaponStatus$]", m_fHUDHideWeaponStatus),
    KV_FLAG("[$bHUDHideWeapon$]", m_fHUDHideWeapon),
    KV_FLAG("[$bHUDHideGrenades$]", m_fHUDHideGrenades),
    KV_FLAG("[$bHUDHideHealth$]", m_fHUDHideHealth),
    KV_FLAG("[$bHUDHideCombatEffect$]", m_fHUDHideCombatEffect),
    KV_FLAG("[$bHUDHideOptics$]", m_fHUDHideOptics),
    KV_FLAG("[$bHUDHideCompass$]", m_fHUDHideCompass),
    KV_FLAG("[$bHUDHideTimer$]", m_fHUDHideTimer),
    KV_FLAG("[$bHUDHideRadar$]", m_fHUDHideRadar),
    KV_TEXT("[$AdminPassword$]", m_csAdminPassword),
    KV_TEXT("[$GamePassword$]", m_csPlayerPassword),
    KV_FLAG("[$bWeaponsStay$]", m_fWeaponsStay),
    KV_FLAG("[$bAllowWeaponThrowing$]", m_fAllowWeaponThrowing),
    KV_INT("[$MOTDDisplaySeconds$]", m_iMOTDDisplaySeconds),
    KV_INT("[$LogFileLifespanMinutes$]", m_iLogFileLifespanMinutes),
    {"[$ForceGameplay$]", forceGameplay},
    KV_INT("[$MinHonor$]", m_iMinHonor),
    KV_INT("[$MaxHonor$]", m_iMaxHonor),
    KV_FLAG("[$bRequireAuthorization$]", m_fRequireAuthorization),
    KV_FLAG("[$bMPCheatsEnabled$]", m_fCheatsEnabled),
    KV_FLAG("[$bPlayersBalanceTeams$]", m_fPlayersBalanceTeam),
    KV_FLAG("[$bAutoBalanceBetweenRounds$]", m_fAutoBalanceBetweenRounds),
    {"[$bDeathMessages$]", [](const Ctx& c, std::string& o) { flag(o, !c.setup.m_fHideDeathMessages); }},
    KV_FLAG("[$bNeverAutoBalance$]", m_fNeverAutoBalance),
    KV_INT("[$VoteKick_Cooldown$]", m_iVotekickCooldownTime),
    KV_INT("[$MaxTeamSize$]", m_iMaxTeamSize),
    KV_INT("[$MinNetPlayers$]", m_iMinNetPlayers),
    KV_INT("[$FFScoreLimit$]", m_iFFScoreLimit),
    KV_INT("[$TimeLimit$]", m_iRoundLength),
    KV_INT("[$DelayedRoundStartTimeSeconds$]", m_iDelayedRoundStartTimeSeconds),
    KV_INT("[$IdlePlayerKickTime$]", m_iIdlePlayerKickTime),
    KV_INT("[$IdlePlayerKickRounds$]", m_iIdlePlayerKickRounds),
    KV_INT("[$MaxSpectators$]", m_iMaxSpectators),
    KV_INT("[$MaxPlayers$]", m_iMaxPlayers),
    KV_INT("[$MaxAdmins$]", m_iMaxAdmins),
    KV_FLAG("[$bKickIdleSpectators$]", m_fKickIdleSpectators),
    KV_FLAG("[$bKickIdlePlayersTimed$]", m_fKickIdlePlayersTimed),
    KV_FLAG("[$bKickIdlePlayersRounds$]", m_fKickIdlePlayersRounds),
    KV_FLAG("[$bSpectatePlayersOnly$]", m_fSpectatePlayersOnly),
    KV_FLAG("[$bSpectateFirstPersonOnly$]", m_fSpectateFirstPersonOnly),
    KV_FLAG("[$bSpectateFriendsOnly$]", m_fSpectateFriendsOnly),
    KV_FLAG("[$bCycleMaps$]", m_fCycleMaps),
    KV_FLAG("[$bTournamentMode$]", m_fTournamentModeEnabled),
    KV_INT("[$RoundsPerMatch$]", m_iRoundsPerMatch),
    KV_INT("[$MatchesBeforeCycle$]", m_iMatchesBeforeCycle),
    KV_INT("[$InitialWarmupTime$]", m_iInitialWarmupTime),
    {"[$MapList$]", [](const Ctx& c, std::string& o) { o.append(buildMapLines(c.setup, c.maps)); }},
    KV_NOTHING("[$SuppressStatList$]"),
    KV_FLAG("[$bEnableStatLogging$]", m_fEnableStatLogging),
    KV_FLAG("[$bDisableFragGrenades$]", m_fDisableFragGrenades),
    KV_FLAG("[$bDisableFlashbangs$]", m_fDisableFlashbangs),
    KV_FLAG("[$bDisableSmokeGrenades$]", m_fDisableSmokeGrenades),
    KV_FLAG("[$bDisableThermiteGrenades$]", m_fDisableThermiteGrenades),
    KV_FLAG("[$bDisable203Grenades$]", m_fDisable203Grenades),
    KV_FLAG("[$bOpenAllWeaponClassSlots$]", m_fOpenAllWeaponClassSlots),
    KV_INT("[$iLogChatLevel$]", m_iLogChatLevel),
};

#undef KV_TEXT
#undef KV_FLAG
#undef KV_INT
#undef KV_REAL
#undef KV_NOTHING

} // namespace

std::span<const Placeholder> placeholders() { return kPlaceholders; }

std::string firstRotationMapFile(const ServerSetup& setup, const MapTable& maps) {
    for (const std::string& entry : setup.m_acsCycleMapList) {
        if (entry.empty())
            continue;
        const MapInfo* map = maps.find(entry);
        return map ? map->name : std::string();
    }
    return {};
}

std::string buildMapLines(const ServerSetup& setup, const MapTable& maps) {
    // Every non-empty rotation entry counts, so a gap in the list cannot drop the maps behind it.
    std::string out;
    std::string first;
    int found = 0;
    for (const std::string& entry : setup.m_acsCycleMapList) {
        const MapInfo* map = entry.empty() ? nullptr : maps.find(entry);
        if (!map)
            continue;
        // The game starts on the map of the command line, so the first map is listed last to follow the others.
        if (found++ == 0)
            first = map->name;
        else
            out.append("Maps=").append(map->name).push_back('\n');
    }
    if (found > 0)
        out.append("Maps=").append(first).push_back('\n');
    appendFormat(out, "MapNum=%d\n", found);
    return out;
}

} // namespace kv::setups
