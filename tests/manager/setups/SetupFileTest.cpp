#include "common/Files.h"
#include "manager/setups/SetupFields.h"
#include "manager/setups/SetupReader.h"
#include "manager/setups/SetupStore.h"
#include "manager/setups/SetupWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace kv::setups;

namespace {

// Gives every persisted field a value that differs from its default and from every other field.
ServerSetup distinctSetup() {
    ServerSetup s;
    int n = 1;
    for (const SetupField& field : setupFields()) {
        std::visit(
            [&](auto m) {
                using M = decltype(m);
                if constexpr (std::is_same_v<M, std::string ServerSetup::*>)
                    s.*m = "value " + std::to_string(n++) + " of " + std::string(field.key);
                else if constexpr (std::is_same_v<M, int ServerSetup::*>)
                    s.*m = 1000 + n++;
                else if constexpr (std::is_same_v<M, float ServerSetup::*>)
                    s.*m = static_cast<float>(n++) + 0.25f;
                else if constexpr (std::is_same_v<M, std::array<int, 32> ServerSetup::*>)
                    for (int& v : s.*m)
                        v = n++;
                else
                    for (std::string& v : s.*m)
                        v = "element " + std::to_string(n++);
            },
            field.member);
    }
    s.m_csName = "Full Record";
    s.m_csSetupDescription = "First line\r\nSecond line\r\n\r\nAfter a blank line";
    return s;
}

ServerSetup read(std::string_view text) {
    ServerSetup s;
    readSetupLines(text, s);
    return s;
}

std::size_t countOf(std::string_view text, std::string_view needle) {
    std::size_t n = 0;
    for (std::size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

class SetupStoreTest : public ::testing::Test {
protected:
    kv::test::TempDir dir;
    SetupStore store{dir.path()};
};

} // namespace

TEST(SetupRecord, ResetGivesTheDocumentedDefaults) {
    ServerSetup s;
    s.m_iMaxPlayers = 3;
    s.m_aiLegalGroups[4] = 9;
    s.m_acsMOTD[1] = "x";
    s.leagueMapList.push_back("A");
    s.mapCount = 7;
    s.reset();
    EXPECT_EQ(s.m_csScoreMode, "SSM_On");
    EXPECT_EQ(s.m_iServerPort, 1716);
    EXPECT_EQ(s.m_iMaxPlayers, 26);
    EXPECT_EQ(s.m_iMaxAINPCsToSpawn, -1);
    EXPECT_FLOAT_EQ(s.m_fpNPCInitialSpawnDelay, 1.5f);
    EXPECT_FLOAT_EQ(s.m_fpNPCSpawnDelay, 0.1f);
    EXPECT_EQ(s.m_fGSNATEnabled, 1);
    EXPECT_EQ(s.m_fSpectateFriendsOnly, 1);
    EXPECT_EQ(s.m_fTournamentModeEnabled, 0);
    for (int g : s.m_aiLegalGroups)
        EXPECT_EQ(g, -1);
    EXPECT_TRUE(s.m_acsMOTD[1].empty());
    EXPECT_TRUE(s.leagueMapList.empty());
    EXPECT_EQ(s.mapCount, 1);
}

TEST(SetupRecord, TablesAndMapAllowed) {
    EXPECT_EQ(regionName(0), "No Region Specified (any Region)");
    EXPECT_EQ(regionName(12), "Central, South America");
    EXPECT_EQ(regionName(13), "");
    EXPECT_EQ(regionName(-1), "");
    EXPECT_EQ(scoreModeWord(3), "SSM_Match");
    EXPECT_EQ(scoreModeWord(4), "");

    ServerSetup s;
    EXPECT_TRUE(s.mapAllowed("Anything"));
    s = read("LeagueMap=Cinder Pass\nleaguemap=Redwater Dam\r\nLEAGUEMAP= Spaced\n");
    ASSERT_EQ(s.leagueMapList, (std::vector<std::string>{"Cinder Pass", "Redwater Dam", " Spaced"}));
    EXPECT_TRUE(s.mapAllowed("cinder pass"));
    EXPECT_FALSE(s.mapAllowed("Spaced"));
    EXPECT_FALSE(s.mapAllowed("Ashfall Quarry"));
}

TEST(SetupFile, FullRecordSurvivesWriteAndRead) {
    const ServerSetup original = distinctSetup();
    ServerSetup back;
    ASSERT_TRUE(readSetupLines(writeSetupText(original, SetupForm::Full), back));
    EXPECT_EQ(back, original);
}

TEST(SetupFile, FullFormLayout) {
    ServerSetup s;
    s.m_csName = "Layout";
    s.m_fpNPCInitialSpawnDelay = 1234.5f;
    s.m_csSetupDescription = "a\r\nb";
    const std::string text = writeSetupText(s, SetupForm::Full);
    EXPECT_TRUE(text.starts_with("m_csLeagueName=\r\nm_csTournamentEventName=\r\nm_csMatchName=\r\nm_csName="));
    EXPECT_NE(text.find("\r\nm_csName=Layout\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nm_aiLegalGroups[31]=-1\r\nm_csScoreMode=SSM_On\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nm_acsMOTD[2]=\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nm_acsCycleMapList[19]=\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nm_fpNPCInitialSpawnDelay=1234.50\r\nm_fpNPCSpawnDelay=0.10\r\n"
                        "m_fpMaxNPCToPlayerRatio=0.00\r\n"),
              std::string::npos);
    EXPECT_EQ(countOf(text, "m_fMuteSpectators=0\r\n"), 2u);
    EXPECT_EQ(countOf(text, "\n"), countOf(text, "\r\n"));
    // 15 texts, 32 groups, score mode, 20 + 4 + 2 + 2 array elements, 30 integers, 3 floats, 53 flag lines and
    // the description.
    EXPECT_EQ(countOf(text, "\r\n"), 15u + 32 + 1 + 28 + 30 + 3 + 53 + 1);
    EXPECT_TRUE(text.ends_with("m_iLogChatLevel=0\r\nm_csSetupDescription=a<BR>b\r\n"));
}

// The key sequence is what other installations and agents read; a reordered or renamed key breaks them.
TEST(SetupFile, FullFormKeySequence) {
    const std::string expected =
        "m_csLeagueName m_csTournamentEventName m_csMatchName m_csName m_csMapName m_csMapFile m_csPlayerPassword "
        "m_csAdminPassword m_csAdminName m_csAdminEmail m_csPlayerAdminList m_csServerName m_csShortName "
        "m_csMultiHomedServerIP m_csGamespyBrowserServerIP m_aiLegalGroups*32 m_csScoreMode m_acsCycleMapList*20 "
        "m_acsMOTD*4 m_acsTournamentTeamName*2 m_acsTournamentTeamPassword*2 m_iServerPort m_iLeagueID m_iRegion "
        "m_iServerRegion m_iMOTDDisplaySeconds m_iMaxPlayers m_iMaxSpectators m_iMaxAdmins m_iRoundLength "
        "m_iDelayedRoundStartTimeSeconds m_iRoundsPerMatch m_iMatchesBeforeCycle m_iInitialWarmupTime m_iMinHonor "
        "m_iMaxHonor m_iVotekickCooldownTime m_iMaxTeamSize m_iMinNetPlayers m_iFFScoreLimit m_iIdlePlayerKickTime "
        "m_iIdlePlayerKickRounds m_iLogFileLifespanMinutes m_iMaxAINPCsToSpawn m_fpNPCInitialSpawnDelay "
        "m_fpNPCSpawnDelay m_fpMaxNPCToPlayerRatio m_iTournamentRoundDelayTime m_iTournamentRequestDelayTime "
        "m_iTournamentWarmupDuration m_iTournamentSwapLimit m_iTournamentSwapTime m_iTournamentPauseTime "
        "m_fGSNATEnabled m_fLANOnly m_fEnableStatLogging m_fTournamentModeEnabled "
        "m_fTournamentOpenAllWeaponClassSlots m_fSecurityEnableCodeCheck m_fSecurityEnableMapCheck "
        "m_fDisablePlayerShadows m_fDisableESS m_fDemoShowcaseMode m_fCycleMaps m_fHideDeathMessages "
        "m_fCheatsEnabled m_fRequireAuthorization m_fPlayersBalanceTeam m_fAutoBalanceBetweenRounds "
        "m_fNeverAutoBalance m_fKickIdleSpectators m_fKickIdlePlayersTimed m_fKickIdlePlayersRounds m_fForceNormal "
        "m_fForceMiles m_fSpectatePlayersOnly m_fSpectateFirstPersonOnly m_fSpectateFriendsOnly "
        "m_fTournamentTieSuddenDeath m_fTournamentTieScore m_fTournamentMercyRule "
        "m_fTournamentEnableRandomTeamAssignments m_fTournamentTeamCaptainsAllowed m_fEnableROEKick "
        "m_fEnableROEKickDeath m_fEnableROEKickTimer m_fMuteSpectators m_fAllowWeaponThrowing m_fWeaponsStay "
        "m_fMuteSpectators m_fHUDHideAmmoCount m_fHUDHideWeaponStatus m_fHUDHideWeapon m_fHUDHideGrenades "
        "m_fHUDHideHealth m_fHUDHideCombatEffect m_fHUDHideOptics m_fHUDHideCompass m_fHUDHideTimer "
        "m_fHUDHideRadar m_fDisableFragGrenades m_fDisableFlashbangs m_fDisableSmokeGrenades "
        "m_fDisableThermiteGrenades m_fDisable203Grenades m_fOpenAllWeaponClassSlots m_iLogChatLevel "
        "m_csSetupDescription";
    // Collapse each array's run of indexed keys into "key*count", checking the indexes count up from 0.
    std::string actual;
    std::string lastArray;
    int count = 0;
    auto flush = [&] {
        if (count > 0)
            actual += lastArray + "*" + std::to_string(count) + " ";
        count = 0;
    };
    const std::string text = writeSetupText(ServerSetup{}, SetupForm::Full);
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find("\r\n", at);
        std::string key = text.substr(at, text.find('=', at) - at);
        at = end + 2;
        if (std::size_t bracket = key.find('['); bracket != std::string::npos) {
            if (key.substr(0, bracket) != lastArray)
                flush();
            lastArray = key.substr(0, bracket);
            EXPECT_EQ(key.substr(bracket), "[" + std::to_string(count) + "]");
            ++count;
            continue;
        }
        flush();
        lastArray.clear();
        actual += key + " ";
    }
    EXPECT_EQ(actual, expected + " ");
}

TEST(SetupFile, LeagueFormWritesOnlyLeagueKeys) {
    ServerSetup s = distinctSetup();
    const std::string text = writeSetupText(s, SetupForm::League);
    for (std::string_view absent : {"m_csName=", "m_csMapName=", "m_aiLegalGroups[", "m_acsCycleMapList[",
                                    "m_acsTournamentTeamName[", "m_iRegion=", "m_iServerRegion=", "m_fLANOnly=",
                                    "m_fGSNATEnabled=", "m_csSetupDescription=", "m_csAdminPassword="})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
    EXPECT_TRUE(text.starts_with("m_csLeagueName=value 1 of m_csLeagueName\r\nm_csScoreMode="));
    EXPECT_NE(text.find("\r\nm_acsMOTD[3]=element"), std::string::npos);
    EXPECT_TRUE(text.ends_with("m_iLogChatLevel=" + std::to_string(s.m_iLogChatLevel) + "\r\n"));

    ServerSetup back;
    EXPECT_FALSE(readSetupLines(text, back)); // names no setup
    EXPECT_EQ(back.m_csLeagueName, s.m_csLeagueName);
    EXPECT_EQ(back.m_acsMOTD, s.m_acsMOTD);
    EXPECT_EQ(back.m_iMaxPlayers, s.m_iMaxPlayers);
    EXPECT_FLOAT_EQ(back.m_fpNPCSpawnDelay, s.m_fpNPCSpawnDelay);
    EXPECT_TRUE(back.m_csAdminPassword.empty());
}

TEST(SetupFile, KeysMatchWithoutCaseAndValuesStayAsWritten) {
    ServerSetup s = read("M_CSNAME=Test\n"
                         "m_csServerName=  Two leading blanks  \n"
                         "m_csAdminPassword=a=b=c\r\n"
                         "m_iMaxPlayers=  12 players\n"
                         "m_iMaxSpectators=many\n"
                         "m_iMaxAdmins=-3\n"
                         "m_iServerPort=99999999999\n"
                         "m_csMapName =Ignored\n"
                         "m_csShortName\n"
                         " m_csMatchName=Indented\n"
                         "m_csLeagueName=first\nm_csLeagueName=second\n");
    EXPECT_EQ(s.m_csName, "Test");
    EXPECT_EQ(s.m_csServerName, "  Two leading blanks  ");
    EXPECT_EQ(s.m_csAdminPassword, "a=b=c");
    EXPECT_EQ(s.m_iMaxPlayers, 12);
    EXPECT_EQ(s.m_iMaxSpectators, 0);
    EXPECT_EQ(s.m_iMaxAdmins, -3);
    EXPECT_EQ(s.m_iServerPort, 2147483647);
    EXPECT_TRUE(s.m_csMapName.empty());
    EXPECT_TRUE(s.m_csShortName.empty());
    EXPECT_TRUE(s.m_csMatchName.empty());
    EXPECT_EQ(s.m_csLeagueName, "second");
}

TEST(SetupFile, ArrayIndexesOutsideTheirRangeAreIgnored) {
    ServerSetup s = read("m_csName=x\n"
                         "m_aiLegalGroups[3]=7\n"
                         "M_AILEGALGROUPS[ 4]=8\n"
                         "m_aiLegalGroups[40]=3\n"
                         "m_aiLegalGroups[-1]=3\n"
                         "m_aiLegalGroups[99999999999999]=3\n"
                         "m_aiLegalGroups[5]\n"
                         "m_acsMOTD[1]=Hello\n"
                         "m_acsMOTD[7]=Hi\n"
                         "m_acsCycleMapList[3]=Dam\n"
                         "m_acsCycleMapList[19]=Last\n"
                         "m_acsCycleMapList[20]=Beyond\n"
                         "m_acsCycleMapList[03]=Padded\n"
                         "m_acsTournamentTeamName[2]=Third\n");
    std::array<int, 32> groups;
    groups.fill(-1);
    groups[3] = 7;
    groups[4] = 8;
    EXPECT_EQ(s.m_aiLegalGroups, groups);
    EXPECT_EQ(s.m_acsMOTD, (std::array<std::string, 4>{"", "Hello", "", ""}));
    EXPECT_EQ(s.m_acsCycleMapList[3], "Dam");
    EXPECT_EQ(s.m_acsCycleMapList[19], "Last");
    EXPECT_EQ(s.m_acsTournamentTeamName, (std::array<std::string, 2>{}));

    applySetupLine("m_acsCycleMapList[3]=", s);
    EXPECT_TRUE(s.m_acsCycleMapList[3].empty());
}

TEST(SetupFile, FloatForms) {
    EXPECT_FLOAT_EQ(read("m_fpNPCSpawnDelay=0.1").m_fpNPCSpawnDelay, 0.1f);
    EXPECT_FLOAT_EQ(read("m_fpNPCSpawnDelay=.10").m_fpNPCSpawnDelay, 0.1f);
    EXPECT_FLOAT_EQ(read("m_fpNPCSpawnDelay= -2.5x").m_fpNPCSpawnDelay, -2.5f);
    EXPECT_FLOAT_EQ(read("m_fpNPCSpawnDelay=none").m_fpNPCSpawnDelay, 0.0f);
    ServerSetup s;
    s.m_fpMaxNPCToPlayerRatio = -0.5f;
    s.m_fpNPCSpawnDelay = 0.126f;
    const std::string text = writeSetupText(s, SetupForm::Full);
    EXPECT_NE(text.find("m_fpMaxNPCToPlayerRatio=-0.50\r\n"), std::string::npos);
    EXPECT_NE(text.find("m_fpNPCSpawnDelay=0.13\r\n"), std::string::npos);
}

TEST(SetupFile, DescriptionBreaks) {
    EXPECT_EQ(read("m_csSetupDescription=One<BR>Two<BR><BR>  \t").m_csSetupDescription, "One\r\nTwo");
    EXPECT_EQ(read("m_csSetupDescription=<br>kept").m_csSetupDescription, "<br>kept");
    EXPECT_EQ(encodeDescription("a\r\nb\rc\nd"), "a<BR>b<BR>c<BR>d");

    // A description typed on this platform has bare line feeds; they must survive a save as line breaks.
    ServerSetup s;
    s.m_csName = "x";
    s.m_csSetupDescription = "Line one\nLine two";
    EXPECT_EQ(read(writeSetupText(s, SetupForm::Full)).m_csSetupDescription, "Line one\r\nLine two");
}

TEST(SetupFile, LineBreaksInsideOneLineValuesCannotInjectKeys) {
    ServerSetup s;
    s.m_csName = "x";
    s.m_csServerName = "Evil\r\nm_csAdminPassword=owned";
    s.m_acsMOTD[0] = "two\nlines";
    ServerSetup back = read(writeSetupText(s, SetupForm::Full));
    EXPECT_TRUE(back.m_csAdminPassword.empty());
    EXPECT_EQ(back.m_csServerName, "Evilm_csAdminPassword=owned");
    EXPECT_EQ(back.m_acsMOTD[0], "twolines");
}

TEST(SetupFile, LongLinesAreReadInPieces) {
    std::string line = "m_csServerName=" + std::string(100000, 'x');
    ServerSetup s = read(line + "\nm_csName=after\n");
    EXPECT_EQ(s.m_csServerName.size(), kMaxSetupLine - 15);
    EXPECT_EQ(s.m_csName, "after");

    // A key that starts exactly where a piece starts is taken, as a fixed line buffer does.
    std::string crafted = "m_csShortName=" + std::string(kMaxSetupLine - 14, 'y') + "m_csAdminName=Eve\n";
    ServerSetup t = read(crafted);
    EXPECT_EQ(t.m_csAdminName, "Eve");
    EXPECT_EQ(t.m_csShortName.size(), kMaxSetupLine - 14);
}

TEST(SetupFile, BinaryJunkNeverBreaksTheReader) {
    std::mt19937 random(7);
    std::string junk;
    for (int i = 0; i < 200000; ++i)
        junk.push_back(static_cast<char>(random()));
    junk += "\nm_csName=Found\n";
    ServerSetup s;
    EXPECT_TRUE(readSetupLines(junk, s));
    EXPECT_EQ(s.m_csName, "Found");
    ServerSetup withNul;
    EXPECT_TRUE(readSetupLines(std::string_view("m_csName=a\0b\n", 13), withNul));
    EXPECT_EQ(withNul.m_csName, std::string_view("a\0b", 3));
    EXPECT_FALSE(isUsableSetupName(withNul.m_csName)); // never becomes a truncated file name
}

TEST_F(SetupStoreTest, LoadByNameOrPathAndFailures) {
    dir.write("Server Setups/Alpha.ServerConfig", "m_csName=Alpha\r\nm_acsCycleMapList[0]=A\r\n"
                                                  "m_acsCycleMapList[4]=E\r\n");
    dir.write("elsewhere/Beta.ServerConfig", "m_csName=Beta\n");
    dir.write("Server Setups/NoName.ServerConfig", "m_csName=\nm_iMaxPlayers=4\n");
    dir.write("Server Setups/Missing.ServerConfig", "m_iMaxPlayers=5\n");

    ServerSetup s;
    ASSERT_TRUE(store.load("Alpha", s));
    EXPECT_EQ(s.mapCount, 2);
    ServerSetup b;
    EXPECT_TRUE(store.load(dir.file("elsewhere/Beta.ServerConfig"), b));
    EXPECT_EQ(b.m_csName, "Beta");

    ServerSetup n;
    EXPECT_FALSE(store.load("NoName", n));
    EXPECT_EQ(n.m_iMaxPlayers, 4); // what was read stays
    ServerSetup m;
    EXPECT_FALSE(store.load("Missing", m));
    ServerSetup none;
    EXPECT_FALSE(store.load("Nonexistent", none));
}

TEST_F(SetupStoreTest, SaveThenLoadGivesTheSameRecord) {
    ServerSetup original = distinctSetup();
    std::string error;
    ASSERT_TRUE(store.save(original, &error)) << error;
    EXPECT_EQ(original.mapCount, 20);
    ServerSetup back;
    ASSERT_TRUE(store.load("Full Record", back));
    EXPECT_EQ(back, original);
    auto bytes = kv::readFile(dir.file("Server Setups/Full Record.ServerConfig"));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, writeSetupText(original, SetupForm::Full));
}

TEST_F(SetupStoreTest, LegacyDescriptionFile) {
    dir.write("Server Setups/Old.ServerConfig", "m_csName=Old\n");
    dir.write("Server Setups/Old.ServerConfigDescription", "From<BR>the legacy file<BR>\r\nsecond line ignored\n");
    dir.write("Server Setups/New.ServerConfig", "m_csName=New\nm_csSetupDescription=Own\n");
    dir.write("Server Setups/New.ServerConfigDescription", "Legacy\n");

    ServerSetup old;
    ASSERT_TRUE(store.load("Old", old));
    EXPECT_EQ(old.m_csSetupDescription, "From\r\nthe legacy file");
    ServerSetup fresh;
    ASSERT_TRUE(store.load("New", fresh));
    EXPECT_EQ(fresh.m_csSetupDescription, "Own");

    ASSERT_TRUE(store.save(old));
    EXPECT_FALSE(kv::fileExists(dir.file("Server Setups/Old.ServerConfigDescription")));
    ServerSetup again;
    ASSERT_TRUE(store.load("Old", again));
    EXPECT_EQ(again.m_csSetupDescription, "From\r\nthe legacy file");
}

TEST_F(SetupStoreTest, LeagueFileKeepsEveryFieldItHolds) {
    ServerSetup league;
    league.m_iMaxPlayers = 16;
    league.m_acsMOTD[0] = "League rules apply";
    league.m_csName = "Not written";
    ASSERT_TRUE(store.saveLeagueForm(league, dir.file("Written.LeagueConfig")));

    ServerSetup s;
    EXPECT_FALSE(store.loadLeagueFile(dir.file("Written.LeagueConfig"), s));
    EXPECT_EQ(s.m_iMaxPlayers, 16);
    EXPECT_EQ(s.m_acsMOTD[0], "League rules apply");
    EXPECT_TRUE(s.m_csName.empty());
    EXPECT_TRUE(s.m_csLeagueName.empty()); // the file's own (empty) league name line comes after the file title

    dir.write("Summer Cup.v2.LeagueConfig", "m_iMaxTeamSize=4\n");
    ServerSetup titled;
    EXPECT_FALSE(store.loadLeagueFile(dir.file("Summer Cup.v2.LeagueConfig"), titled));
    EXPECT_EQ(titled.m_csLeagueName, "Summer Cup.v2");
    EXPECT_EQ(titled.m_iMaxTeamSize, 4);
}

TEST_F(SetupStoreTest, SaveRefusesNamesThatLeaveTheLibrary) {
    for (const char* name : {"", "../escape", "a/b", ".", ".."}) {
        ServerSetup s;
        s.m_csName = name;
        std::string error;
        EXPECT_FALSE(store.save(s, &error)) << name;
        EXPECT_NE(error.find("cannot be used as a file name"), std::string::npos);
    }
    EXPECT_FALSE(kv::fileExists(dir.file("escape.ServerConfig")));
    EXPECT_TRUE(isUsableSetupName("Name with blanks (Copy)"));
}

TEST_F(SetupStoreTest, SaveReportsAFolderThatCannotBeWritten) {
    dir.write("Server Setups", "a file where the folder should be");
    ServerSetup s;
    s.m_csName = "x";
    std::string error;
    EXPECT_FALSE(store.save(s, &error));
    EXPECT_FALSE(error.empty());
}
