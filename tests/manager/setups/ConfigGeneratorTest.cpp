#include "manager/setups/ConfigGenerator.h"
#include "common/CommandLine.h"
#include "common/Files.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/Placeholders.h"
#include "manager/setups/SetupReader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace kv::setups;

namespace {

class GeneratorTest : public ::testing::Test {
protected:
    GeneratorTest() { setup.m_csName = "Test Setup"; }

    GeneratorSettings settings(std::string auth = "") const {
        GeneratorSettings s;
        s.templatePath = dir.file("work/ConfigurationTemplate.ini");
        s.documentsFolder = dir.file("docs");
        s.serverLocation = "/games/korvane/System";
        if (!auth.empty())
            s.authorization = {auth + "-user", auth + "-password", "203.0.113.9"};
        return s;
    }
    std::string expand(std::string_view text, const GeneratorSettings& s) {
        return ConfigGenerator(s, maps).expandTemplate(setup, text);
    }
    std::string expand(std::string_view text) { return expand(text, settings()); }
    std::string generated(const std::string& file) const {
        return kv::readFile(dir.file("docs/Korvane Server Setups/" + file)).value_or("<missing>");
    }

    kv::test::TempDir dir;
    MapTable maps = MapTable::builtIn();
    ServerSetup setup;
};

} // namespace

TEST_F(GeneratorTest, TextWithoutKnownPlaceholdersIsCopiedByteForByte) {
    static const char raw[] = "[Section]\r\nKey=[$Unknown$] [$ [ $] [$$]\n\0binary\xff[$";
    const std::string text(raw, sizeof raw - 1);
    EXPECT_EQ(expand(text), text);
    EXPECT_EQ(expand("ends with ["), "ends with [");
    EXPECT_EQ(expand("[$ServerName"), "[$ServerName"); // cut short at the end of the template
    EXPECT_EQ(expand(""), "");
}

TEST_F(GeneratorTest, PlaceholdersMatchWithoutCase) {
    setup.m_csServerName = "My Server";
    EXPECT_EQ(expand("a=[$servername$];b=[$SERVERNAME$];c=[$ServerName$]"), "a=My Server;b=My Server;c=My Server");
    EXPECT_EQ(expand("x[$EndOfFile$]y[$suppressstatlist$]z"), "xyz");
}

TEST_F(GeneratorTest, SubstituteReportsWhereThePlaceholderEnds) {
    ConfigGenerator generator(settings(), maps);
    std::string out;
    std::size_t position = 2;
    setup.m_iMaxPlayers = 30;
    ASSERT_TRUE(generator.substitute(setup, out, "..[$MaxPlayers$]..", position));
    EXPECT_EQ(out, "30");
    EXPECT_EQ(position, 15u);
    position = 0;
    EXPECT_FALSE(generator.substitute(setup, out, "[$Nope$]", position));
    EXPECT_EQ(position, 0u);
    EXPECT_EQ(out, "30");
}

TEST_F(GeneratorTest, ValueForms) {
    setup.m_fCheatsEnabled = 1;
    setup.m_fHideDeathMessages = 1;
    setup.m_iServerPort = 0;
    setup.m_fpMaxNPCToPlayerRatio = 2.5f;
    setup.m_iTournamentPauseTime = 45;
    setup.m_iServerRegion = 7;
    setup.m_iRegion = 3;
    EXPECT_EQ(expand("[$bMPCheatsEnabled$] [$bNeverAutoBalance$] [$bDeathMessages$]"), "True False False");
    EXPECT_EQ(expand("[$ServerPort$]"), "Port=1716");
    setup.m_iServerPort = 7777;
    EXPECT_EQ(expand("[$ServerPort$]"), "Port=7777");
    EXPECT_EQ(expand("[$fpMaxNPCToPlayerRatio$]|[$fpNPCSpawnDelay$]|[$fpNPCInitialSpawnDelay$]"), "2.50|0.10|1.50");
    EXPECT_EQ(expand("[$iTournamentPauseLimit$] [$Region$] [$ServerRegion$]"), "45 7 7");
    EXPECT_EQ(expand("[$DefaultServerGame$]"), "DefaultServerGame=KVP_Gameplay.KVP_GameTeamObjective");
    setup.m_fTournamentModeEnabled = 1;
    EXPECT_EQ(expand("[$DefaultServerGame$]"), "DefaultServerGame=KVP_Gameplay.KVP_GameTournament");
}

// Each placeholder reads the field that the setup file names; fields are set through their file keys, so a
// placeholder wired to a neighbouring field shows up here even when both share a default.
TEST_F(GeneratorTest, EveryPlaceholderReadsItsOwnField) {
    const std::pair<const char*, const char*> flags[] = {
        {"[$bTournamentTieSuddenDeath$]", "m_fTournamentTieSuddenDeath"},
        {"[$bDemoShowcaseMode$]", "m_fDemoShowcaseMode"},
        {"[$bEnableMapTesting$]", "m_fSecurityEnableMapCheck"},
        {"[$bEnableCodeTesting$]", "m_fSecurityEnableCodeCheck"},
        {"[$bForceShadowsOff$]", "m_fDisablePlayerShadows"},
        {"[$bDisableESS$]", "m_fDisableESS"},
        {"[$bTournamentTieScore$]", "m_fTournamentTieScore"},
        {"[$bTournamentMercyRule$]", "m_fTournamentMercyRule"},
        {"[$bTournamentEnableRandomTeamAssignments$]", "m_fTournamentEnableRandomTeamAssignments"},
        {"[$bTournamentTeamCaptainsAllowed$]", "m_fTournamentTeamCaptainsAllowed"},
        {"[$bTournamentOpenAllWeaponClassSlots$]", "m_fTournamentOpenAllWeaponClassSlots"},
        {"[$bEnableROEKick$]", "m_fEnableROEKick"},
        {"[$bEnableROEKickDeath$]", "m_fEnableROEKickDeath"},
        {"[$bEnableROEKickTimer$]", "m_fEnableROEKickTimer"},
        {"[$bMuteSpectators$]", "m_fMuteSpectators"},
        {"[$bHUDHideAmmoCount$]", "m_fHUDHideAmmoCount"},
        {"[$bHUDHideWeaponStatus$]", "m_fHUDHideWeaponStatus"},
        {"[$bHUDHideWeapon$]", "m_fHUDHideWeapon"},
        {"[$bHUDHideGrenades$]", "m_fHUDHideGrenades"},
        {"[$bHUDHideHealth$]", "m_fHUDHideHealth"},
        {"[$bHUDHideCombatEffect$]", "m_fHUDHideCombatEffect"},
        {"[$bHUDHideOptics$]", "m_fHUDHideOptics"},
        {"[$bHUDHideCompass$]", "m_fHUDHideCompass"},
        {"[$bHUDHideTimer$]", "m_fHUDHideTimer"},
        {"[$bHUDHideRadar$]", "m_fHUDHideRadar"},
        {"[$bWeaponsStay$]", "m_fWeaponsStay"},
        {"[$bAllowWeaponThrowing$]", "m_fAllowWeaponThrowing"},
        {"[$bRequireAuthorization$]", "m_fRequireAuthorization"},
        {"[$bMPCheatsEnabled$]", "m_fCheatsEnabled"},
        {"[$bPlayersBalanceTeams$]", "m_fPlayersBalanceTeam"},
        {"[$bAutoBalanceBetweenRounds$]", "m_fAutoBalanceBetweenRounds"},
        {"[$bNeverAutoBalance$]", "m_fNeverAutoBalance"},
        {"[$bKickIdleSpectators$]", "m_fKickIdleSpectators"},
        {"[$bKickIdlePlayersTimed$]", "m_fKickIdlePlayersTimed"},
        {"[$bKickIdlePlayersRounds$]", "m_fKickIdlePlayersRounds"},
        {"[$bSpectatePlayersOnly$]", "m_fSpectatePlayersOnly"},
        {"[$bSpectateFirstPersonOnly$]", "m_fSpectateFirstPersonOnly"},
        {"[$bSpectateFriendsOnly$]", "m_fSpectateFriendsOnly"},
        {"[$bCycleMaps$]", "m_fCycleMaps"},
        {"[$bTournamentMode$]", "m_fTournamentModeEnabled"},
        {"[$bEnableStatLogging$]", "m_fEnableStatLogging"},
        {"[$bDisableFragGrenades$]", "m_fDisableFragGrenades"},
        {"[$bDisableFlashbangs$]", "m_fDisableFlashbangs"},
        {"[$bDisableSmokeGrenades$]", "m_fDisableSmokeGrenades"},
        {"[$bDisableThermiteGrenades$]", "m_fDisableThermiteGrenades"},
        {"[$bDisable203Grenades$]", "m_fDisable203Grenades"},
        {"[$bOpenAllWeaponClassSlots$]", "m_fOpenAllWeaponClassSlots"},
    };
    const std::pair<const char*, const char*> values[] = {
        {"[$ServerName$]", "m_csServerName"},
        {"[$ShortName$]", "m_csShortName"},
        {"[$sLeagueName$]", "m_csLeagueName"},
        {"[$sMatchName$]", "m_csMatchName"},
        {"[$sTournamentName$]", "m_csTournamentEventName"},
        {"[$TournamentTeamPassword[0]$]", "m_acsTournamentTeamPassword[0]"},
        {"[$TournamentTeamPassword[1]$]", "m_acsTournamentTeamPassword[1]"},
        {"[$asTournamentTeamName[0]$]", "m_acsTournamentTeamName[0]"},
        {"[$asTournamentTeamName[1]$]", "m_acsTournamentTeamName[1]"},
        {"[$ScoreMode$]", "m_csScoreMode"},
        {"[$AdminName$]", "m_csAdminName"},
        {"[$AdminEmail$]", "m_csAdminEmail"},
        {"[$MOTDLine1$]", "m_acsMOTD[0]"},
        {"[$MOTDLine2$]", "m_acsMOTD[1]"},
        {"[$MOTDLine3$]", "m_acsMOTD[2]"},
        {"[$MOTDLine4$]", "m_acsMOTD[3]"},
        {"[$AdminPassword$]", "m_csAdminPassword"},
        {"[$GamePassword$]", "m_csPlayerPassword"},
        {"[$iMaxAINPCsToSpawn$]", "m_iMaxAINPCsToSpawn"},
        {"[$iTournamentRoundDelayTime$]", "m_iTournamentRoundDelayTime"},
        {"[$iTournamentPauseLimit$]", "m_iTournamentPauseTime"},
        {"[$iTournamentRequestDelayTime$]", "m_iTournamentRequestDelayTime"},
        {"[$iTournamentWarmupDuration$]", "m_iTournamentWarmupDuration"},
        {"[$iTournamentSwapLimit$]", "m_iTournamentSwapLimit"},
        {"[$iTournamentSwapTime$]", "m_iTournamentSwapTime"},
        {"[$Region$]", "m_iServerRegion"},
        {"[$ServerRegion$]", "m_iServerRegion"},
        {"[$MOTDDisplaySeconds$]", "m_iMOTDDisplaySeconds"},
        {"[$LogFileLifespanMinutes$]", "m_iLogFileLifespanMinutes"},
        {"[$MinHonor$]", "m_iMinHonor"},
        {"[$MaxHonor$]", "m_iMaxHonor"},
        {"[$VoteKick_Cooldown$]", "m_iVotekickCooldownTime"},
        {"[$MaxTeamSize$]", "m_iMaxTeamSize"},
        {"[$MinNetPlayers$]", "m_iMinNetPlayers"},
        {"[$FFScoreLimit$]", "m_iFFScoreLimit"},
        {"[$TimeLimit$]", "m_iRoundLength"},
        {"[$DelayedRoundStartTimeSeconds$]", "m_iDelayedRoundStartTimeSeconds"},
        {"[$IdlePlayerKickTime$]", "m_iIdlePlayerKickTime"},
        {"[$IdlePlayerKickRounds$]", "m_iIdlePlayerKickRounds"},
        {"[$MaxSpectators$]", "m_iMaxSpectators"},
        {"[$MaxPlayers$]", "m_iMaxPlayers"},
        {"[$MaxAdmins$]", "m_iMaxAdmins"},
        {"[$RoundsPerMatch$]", "m_iRoundsPerMatch"},
        {"[$MatchesBeforeCycle$]", "m_iMatchesBeforeCycle"},
        {"[$InitialWarmupTime$]", "m_iInitialWarmupTime"},
        {"[$iLogChatLevel$]", "m_iLogChatLevel"},
    };

    std::string flagTemplate;
    for (auto [placeholder, key] : flags)
        flagTemplate.append(placeholder).push_back(',');
    for (std::size_t on = 0; on < std::size(flags); ++on) {
        std::string file;
        for (std::size_t i = 0; i < std::size(flags); ++i)
            file += std::string(flags[i].second) + (i == on ? "=1\n" : "=0\n");
        setup.reset();
        readSetupLines(file, setup);
        std::string expected;
        for (std::size_t i = 0; i < std::size(flags); ++i)
            expected += i == on ? "True," : "False,";
        EXPECT_EQ(expand(flagTemplate), expected) << flags[on].first;
    }

    setup.reset();
    std::string file;
    for (std::size_t i = 0; i < std::size(values); ++i)
        file += std::string(values[i].second) + "=" + std::to_string(501 + i) + "\n";
    readSetupLines(file, setup);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        // [$Region$] and [$ServerRegion$] both give the server's region, which the later line set.
        const bool region = std::string_view(values[i].first) == "[$Region$]";
        EXPECT_EQ(expand(values[i].first), std::to_string(501 + i + (region ? 1 : 0))) << values[i].first;
    }
}

TEST_F(GeneratorTest, ForceGameplayPrefersMiles) {
    EXPECT_EQ(expand("[$ForceGameplay$]"), "FORCE_NONE");
    setup.m_fForceNormal = 1;
    EXPECT_EQ(expand("[$ForceGameplay$]"), "FORCE_NORMAL");
    setup.m_fForceMiles = 1;
    EXPECT_EQ(expand("[$ForceGameplay$]"), "FORCE_MILES");
}

TEST_F(GeneratorTest, LegalGroupsOnlyWhenAnySlotIsUsed) {
    EXPECT_EQ(expand("<[$LegalGroups$]>"), "<>");
    setup.m_aiLegalGroups[2] = 3;
    setup.m_aiLegalGroups[9] = 7;
    setup.m_aiLegalGroups[31] = 0;
    EXPECT_EQ(expand("[$LegalGroups$]"), "LegalGroups=3,7,0");
}

TEST_F(GeneratorTest, TeamPasswordsAreRequiredOnlyWhenBothAreSet) {
    setup.m_acsTournamentTeamPassword[0] = "red";
    EXPECT_EQ(expand("[$bTournamentTeamPasswordsRequired$]"), "False");
    setup.m_acsTournamentTeamPassword[1] = "blue";
    EXPECT_EQ(expand("[$bTournamentTeamPasswordsRequired$] [$TournamentTeamPassword[1]$]"), "True blue");
}

TEST_F(GeneratorTest, AddressAndAuthorizationLines) {
    EXPECT_EQ(expand("[$MultiHomeIP$]|[$GameSpyMultiHomeIP$]|[$HonorServerUserName$][$HonorServerPassword$]"),
              "IP=\n||ServerAuthUsername=\nServerAuthPassword=\n");
    setup.m_csGamespyBrowserServerIP = "192.0.2.3";
    EXPECT_EQ(expand("[$GameSpyMultiHomeIP$]"), "IP=192.0.2.3\n");
    EXPECT_EQ(expand("[$GameSpyMultiHomeIP$][$HonorServerUserName$]", settings("auth")),
              "IP=203.0.113.9\nServerAuthUsername=auth-user\n");
    setup.m_csMultiHomedServerIP = "198.51.100.1";
    EXPECT_EQ(expand("[$GameSpyMultiHomeIP$][$MultiHomeIP$]", settings("auth")), "IP=198.51.100.1\nIP=198.51.100.1\n");
    setup.m_fGSNATEnabled = 0;
    EXPECT_EQ(expand("[$GameSpyNatEnabled$]"), "False\n");
}

TEST_F(GeneratorTest, PlayerAdminLines) {
    EXPECT_EQ(expand("[$PlayerAdminList$]"), "");
    setup.m_csPlayerAdminList = "Ann&&Bob&";
    EXPECT_EQ(expand("[$PlayerAdminList$]"), "PlayerAdmin=Ann\nPlayerAdmin=Bob\n");
}

TEST_F(GeneratorTest, MapLinesEndWithTheFirstRotationMap) {
    setup.m_acsCycleMapList[0] = "Ashfall Quarry";
    setup.m_acsCycleMapList[1] = "brinehold docks";
    setup.m_acsCycleMapList[2] = "Unknown Map";
    setup.m_acsCycleMapList[3] = "Cinder Pass";
    setup.countMaps();
    EXPECT_EQ(expand("[$MapList$]"),
              "Maps=KV-BrineholdDocks.kvo\nMaps=KV-CinderPass.kvo\nMaps=KV-AshfallQuarry.kvo\nMapNum=3\n");
    setup.m_csMapFile = "Old.kvo";
    EXPECT_EQ(expand("[$MapFile$]"), "KV-AshfallQuarry.kvo");
    EXPECT_EQ(setup.m_csMapFile, "KV-AshfallQuarry.kvo");
}

TEST_F(GeneratorTest, MapLinesWithoutKnownMaps) {
    setup.countMaps();
    EXPECT_EQ(expand("[$MapList$]"), "MapNum=0\n");
    setup.m_csMapFile = "Single.kvo";
    EXPECT_EQ(expand("[$MapFile$]"), "Single.kvo");

    setup.m_acsCycleMapList[0] = "Unknown Map";
    setup.m_acsCycleMapList[1] = "Cinder Pass";
    setup.countMaps();
    EXPECT_EQ(expand("[$MapFile$]"), "");
    EXPECT_EQ(setup.m_csMapFile, "Single.kvo");
    EXPECT_EQ(expand("[$MapList$]"), "Maps=KV-CinderPass.kvo\nMapNum=1\n");
}

TEST_F(GeneratorTest, AGapInTheRotationDropsNoMap) {
    setup.m_acsCycleMapList[0] = "Ashfall Quarry";
    setup.m_acsCycleMapList[5] = "Cinder Pass";
    setup.countMaps();
    EXPECT_EQ(expand("[$MapList$]"), "Maps=KV-CinderPass.kvo\nMaps=KV-AshfallQuarry.kvo\nMapNum=2\n");
}

TEST_F(GeneratorTest, ShippedTemplateUsesEveryPlaceholder) {
    auto text = kv::readFile(std::string(KV_TEST_DATA_DIR) + "/ConfigurationTemplate.ini");
    ASSERT_TRUE(text);
    for (const Placeholder& p : placeholders())
        EXPECT_NE(text->find(p.text), std::string::npos) << p.text;
    setup.m_acsCycleMapList[0] = "Cinder Pass";
    setup.countMaps();
    const std::string ini = expand(*text, settings("auth"));
    EXPECT_EQ(ini.find("[$"), std::string::npos);
    EXPECT_NE(ini.find("\n[URL]\nProtocol=korvane\nName=Player\nMap=KV-CinderPass.kvo\n"), std::string::npos);
    EXPECT_NE(ini.find("\nPort=1716\n"), std::string::npos);
    EXPECT_NE(ini.find("\nServerAuthUsername=auth-user\nServerAuthPassword=auth-password\nbRequire"),
              std::string::npos);
}

TEST_F(GeneratorTest, GenerateWritesTheThreeFiles) {
    dir.write("work/ConfigurationTemplate.ini", "[URL]\nMap=[$MapFile$]\n[$ServerPort$]\n");
    setup.m_csName = "Night Ops  \t";
    setup.m_csMapFile = "KV-CinderPass.kvo";
    ConfigGenerator generator(settings(), maps);
    GenerateResult result = generator.generate(setup);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(setup.m_csName, "Night Ops");
    EXPECT_EQ(generated("Night Ops.ini"), "[URL]\nMap=KV-CinderPass.kvo\nPort=1716\n");
    const std::string bat =
        "\"C:\\Program Files\\Korvane\\System\\server.exe\" GLOBAL KV-CinderPass.kvo log=\"Night Ops.log\" "
        "ini=\"Night Ops.ini\"";
    EXPECT_EQ(generated("Night Ops.bat"), bat);
    EXPECT_EQ(generated("Night Ops.sh"), "./server.bin GLOBAL KV-CinderPass.kvo log=\"Night Ops.log\" "
                                         "ini=\"Night Ops.ini\"");
    EXPECT_EQ(setup.generatedIniName, "Night Ops.ini");
    EXPECT_EQ(setup.generatedBatName, "Night Ops.bat");
    EXPECT_EQ(setup.generatedShName, "Night Ops.sh");
    EXPECT_EQ(setup.windowsStartCommand, bat);
}

TEST_F(GeneratorTest, RotatingSetupStartsOnItsFirstMapEvenWithoutTheTemplatePlaceholder) {
    dir.write("work/ConfigurationTemplate.ini", "no placeholders");
    ServerSetup fresh; // reset but never loaded: its held map count still says 1
    fresh.m_csName = "Fresh";
    fresh.m_csMapFile = "KV-Glasshollow.kvo";
    ASSERT_TRUE(ConfigGenerator(settings(), maps).generate(fresh).ok);
    EXPECT_EQ(fresh.m_csMapFile, "KV-Glasshollow.kvo");
    EXPECT_EQ(fresh.mapCount, 0);

    setup.m_acsCycleMapList[0] = "Redwater Dam";
    ASSERT_TRUE(ConfigGenerator(settings(), maps).generate(setup).ok);
    EXPECT_EQ(setup.m_csMapFile, "KV-RedwaterDam.kvo");
    EXPECT_NE(generated("Test Setup.sh").find(" KV-RedwaterDam.kvo "), std::string::npos);
}

TEST_F(GeneratorTest, RunModes) {
    dir.write("work/ConfigurationTemplate.ini", "");
    const char* expected[2][2] = {{"GLOBAL", "LAN"}, {"TOURNAMENT", "LANTOURNAMENT"}};
    for (int tournament = 0; tournament < 2; ++tournament) {
        for (int lan = 0; lan < 2; ++lan) {
            setup.m_fTournamentModeEnabled = tournament;
            setup.m_fLANOnly = lan;
            setup.m_csMapFile = "m.kvo";
            ConfigGenerator generator(settings(), maps);
            ASSERT_TRUE(generator.generate(setup).ok);
            const std::string word = std::string(" ") + expected[tournament][lan] + " m.kvo ";
            EXPECT_EQ(runMode(setup), expected[tournament][lan]);
            EXPECT_NE(generated("Test Setup.bat").find(word), std::string::npos);
            EXPECT_NE(generated("Test Setup.sh").find(word), std::string::npos);
            EXPECT_NE(generator.localStartCommand(setup).find(word), std::string::npos);
        }
    }
}

TEST_F(GeneratorTest, MissingTemplateWritesNothing) {
    setup.generatedIniName = "earlier.ini";
    GenerateResult result = ConfigGenerator(settings(), maps).generate(setup);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.title, "Required Configuration File Missing");
    EXPECT_EQ(result.message, "A required configuration file \"ConfigurationTemplate.ini\" could not be found.\n\n"
                              "Please reinstall the application to repair this problem.");
    EXPECT_EQ(setup.generatedIniName, "earlier.ini");
    EXPECT_FALSE(kv::fileExists(dir.file("docs/Korvane Server Setups/Test Setup.ini")));
}

TEST_F(GeneratorTest, UnusableNamesAndUnwritableFoldersAreReported) {
    dir.write("work/ConfigurationTemplate.ini", "x");
    setup.m_csName = "../../outside";
    EXPECT_FALSE(ConfigGenerator(settings(), maps).generate(setup).ok);
    EXPECT_FALSE(kv::fileExists(dir.file("outside.ini")));

    setup.m_csName = "Fine";
    dir.write("blocked", "a file, not a folder");
    GeneratorSettings s = settings();
    s.documentsFolder = dir.file("blocked");
    GenerateResult result = ConfigGenerator(s, maps).generate(setup);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_TRUE(setup.generatedIniName.empty());
}

TEST_F(GeneratorTest, ShellLineCannotRunTextFromTheSetup) {
    dir.write("work/ConfigurationTemplate.ini", "x");
    setup.m_csName = "a\"$(touch pwned)`id`\\";
    setup.m_csMapFile = "m.kvo; rm -rf ~";
    ASSERT_TRUE(ConfigGenerator(settings(), maps).generate(setup).ok);
    EXPECT_EQ(generated(setup.m_csName + ".sh"),
              "./server.bin GLOBAL 'm.kvo; rm -rf ~' log=\"a\\\"\\$(touch pwned)\\`id\\`\\\\.log\" "
              "ini=\"a\\\"\\$(touch pwned)\\`id\\`\\\\.ini\"");

    // The shell drops blanks around an unquoted word, so quoting a map file must not keep them.
    setup.m_csName = "Blank";
    setup.m_csMapFile = "  my map.kvo ";
    ASSERT_TRUE(ConfigGenerator(settings(), maps).generate(setup).ok);
    EXPECT_EQ(generated("Blank.sh"), "./server.bin GLOBAL 'my map.kvo' log=\"Blank.log\" ini=\"Blank.ini\"");
}

TEST_F(GeneratorTest, LocalStartCommand) {
    setup.m_csMapFile = "KV-CinderPass.kvo";
    setup.m_csMapName = "Cinder Pass";
    ConfigGenerator plain(settings(), maps);
    const std::string ini = dir.file("docs/Korvane Server Setups/Test Setup.ini");
    EXPECT_EQ(plain.localStartCommand(setup), "/games/korvane/System/server.bin GLOBAL KV-CinderPass.kvo "
                                              "log=\"Cinder Pass.log\" ini=\"" +
                                                  ini + "\"   ");

    GeneratorSettings s = settings("auth");
    s.serverLocation = "/opt/Korvane Game/System";
    s.authorization.password.clear();
    const std::string command = ConfigGenerator(s, maps).localStartCommand(setup);
    EXPECT_EQ(command, "\"/opt/Korvane Game/System/server.bin\" GLOBAL KV-CinderPass.kvo log=\"Cinder Pass.log\" "
                       "ini=\"" +
                           ini + "\" ServerAuthUsername=auth-user  ServerAuthIP=203.0.113.9");
    EXPECT_EQ(kv::splitCommandLine(command),
              (std::vector<std::string>{"/opt/Korvane Game/System/server.bin", "GLOBAL", "KV-CinderPass.kvo",
                                        "log=Cinder Pass.log", "ini=" + ini, "ServerAuthUsername=auth-user",
                                        "ServerAuthIP=203.0.113.9"}));
}
