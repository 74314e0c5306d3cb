#include "manager/setups/MapTable.h"
#include "manager/setups/SetupDescription.h"

#include <gtest/gtest.h>

using namespace kv::setups;

namespace {

const std::string kGrenadesAllowed = "\r\nGrenade Rules:\r\n--------------------------\r\nFrag Grenades Allowed\r\n"
                                     "Smoke Grenades Allowed\r\nThermite Grenades Allowed\r\n"
                                     "Flashbang Grenades Allowed\r\n203 Reloads Allowed\r\n";

// The line that precedes "Notes" (the map overview, or its last line).
std::string lineBeforeNotes(const std::string& text) {
    std::size_t notes = text.find("\r\nNotes\r\n");
    std::size_t start = text.rfind("\r\n", notes - 1);
    return text.substr(start + 2, notes - start - 2);
}

class DescriptionTest : public ::testing::Test {
protected:
    DescriptionTest() {
        setup.m_csName = "Evening";
        setup.m_csServerName = "Evening Server";
        setup.m_csMapName = "Cinder Pass";
    }
    std::string describe(bool detailed = false) const { return describeSetup(setup, maps, detailed); }

    MapTable maps = MapTable::builtIn();
    ServerSetup setup;
};

} // namespace

TEST_F(DescriptionTest, StandardLayoutWithDefaults) {
    setup.m_csSetupDescription = "Our own notes";
    EXPECT_EQ(describe(), "Global Internet Server (appears in browser) \r\n"
                          "Server Name (as shown in Deployment page): Evening Server\r\n"
                          "Standard Multiplayer game play\r\n"
                          "13 maximum players per team\r\n"
                          "26 maximum players on server\r\n"
                          "2 administrators\r\n"
                          "10 is the minimum honor\r\n"
                          "100 is the maximum honor\r\n"
                          "7 rounds per match\r\n"
                          "10 minute rounds\r\n"
                          "Weapon slots controlled by number of players\r\n"
                          "ROE Kick Enabled\r\n"
                          "Scoreboard Always On\r\n" +
                              kGrenadesAllowed +
                              "\r\n"
                              "Chat logging disabled (saves disk space).\r\n"
                              "Delayed Start: disabled\r\n"
                              "ES2 allowed (if defined)\r\n"
                              "\r\n"
                              "\r\n"
                              "Notes\r\n"
                              "--------------------------\r\n"
                              "Our own notes");
}

TEST_F(DescriptionTest, TournamentLayout) {
    setup.m_fTournamentModeEnabled = 1;
    setup.m_csLeagueName = "Northern League";
    setup.m_csTournamentEventName = "Winter Cup";
    setup.m_iMaxTeamSize = 5;
    setup.m_iRoundsPerMatch = 9;
    setup.m_iRoundLength = 6;
    setup.m_fEnableROEKickDeath = 1;
    setup.m_fDisableSmokeGrenades = 1;
    setup.m_iLogChatLevel = 2;
    setup.m_csScoreMode = "SSM_Round";
    const std::string expected =
        "Tournament Server Name (as shown in Deployment page): Evening Server\r\nLeague: Northern League\r\n"
        "Tournament: Winter Cup\r\n5 on 5 Tournament\r\n9 rounds per match\r\n6 minute rounds\r\n"
        "ROE Kills Player\r\nScoreboard Shows At End Of Each Rounds Only\r\n"
        "\r\nGrenade Rules:\r\n--------------------------\r\nFrag Grenades Allowed\r\nSmoke Grenades Removed\r\n"
        "Thermite Grenades Allowed\r\nFlashbang Grenades Allowed\r\n203 Reloads Allowed\r\n\r\n"
        "Log Admin Actions (kicks/class changes, PMs, text) and player chat text.  Useful for monitoring "
        "administrator activities.\r\n\r\n\r\n";
    EXPECT_EQ(describe(), expected + "\r\nNotes\r\n--------------------------\r\n");
    EXPECT_EQ(describe(true), expected + "Cinder Pass Map Overview\r\n--------------------------\r\n" +
                                  maps.find("Cinder Pass")->description +
                                  "\r\nNotes\r\n--------------------------\r\n");
}

TEST_F(DescriptionTest, PlayerAdminsOnlyWhenDetailed) {
    setup.m_csPlayerAdminList = "Ann&&Bob";
    const std::string warning = "\r\n**IMPORTANT**\r\nThis Setup Includes These Player Admins:\r\n- Ann\r\n- Bob\r\n"
                                "\r\n** Player Admins can modify your server's settings so only assign trusted "
                                "players to this list.**\r\n\r\n ROE Kills Player\r\n";
    setup.m_fEnableROEKickDeath = 1;
    EXPECT_NE(describe(true).find("Weapon slots controlled by number of players\r\n" + warning), std::string::npos);
    const std::string brief = describe(false);
    EXPECT_EQ(brief.find("IMPORTANT"), std::string::npos);
    EXPECT_NE(brief.find("players\r\n ROE Kills Player\r\n"), std::string::npos);
    EXPECT_EQ(lineBeforeNotes(brief), "");
}

TEST_F(DescriptionTest, AdministratorPlural) {
    for (auto [count, line] : {std::pair{0, "\r\n0 administrator\r\n"}, std::pair{1, "\r\n1 administrator\r\n"},
                               std::pair{2, "\r\n2 administrators\r\n"}}) {
        setup.m_iMaxAdmins = count;
        EXPECT_NE(describe().find(line), std::string::npos) << count;
    }
}

TEST_F(DescriptionTest, PhrasesFollowTheFields) {
    setup.m_fLANOnly = 1;
    setup.m_fOpenAllWeaponClassSlots = 1;
    setup.m_fDisableESS = 1;
    setup.m_iDelayedRoundStartTimeSeconds = 30;
    setup.m_fEnableROEKick = 0;
    setup.m_csScoreMode = "ssm_on";
    setup.m_fDisable203Grenades = 1;
    setup.m_fDisableFragGrenades = 1;
    const std::string text = describe();
    EXPECT_TRUE(text.starts_with("LAN or Non-Global Internet Server \r\n"));
    for (const char* phrase : {"\r\nAll weapon slots opened\r\nNo ROE Kick\r\n\r\n\r\nGrenade Rules:",
                               "\r\nFrag Grenades Removed\r\n", "\r\n203 Reloads Removed\r\n",
                               "\r\nDelayed Start: 30 seconds\r\nES2 Disabled\r\n"})
        EXPECT_NE(text.find(phrase), std::string::npos) << phrase;

    setup.m_csMapName = "Nightfall Convoy";
    EXPECT_NE(describe().find("\r\nCooperative Play game play\r\n"), std::string::npos);
    setup.m_csMapName = "Not A Map";
    EXPECT_NE(describe().find("\r\nStandard Multiplayer game play\r\n"), std::string::npos);
    EXPECT_NE(describe(true).find("Map \"Not A Map\" Overview\r\n--------------------------------------------\r\n"
                                  "\r\nNotes"),
              std::string::npos);
}

TEST_F(DescriptionTest, ChatLoggingLevels) {
    const std::pair<int, const char*> levels[] = {
        {1, "\r\nLog player chat text only (uses least space of logging options).\r\n\r\nDelayed"},
        {3, "\r\nLog all system messages (deaths, enter/exit server, etc.) plus all admin actions (kicks/class "
            "changes, PMs, text) and player chat text.  This uses the most space.\r\n\r\nDelayed"},
        {7, "\r\nChat logging disabled (saves disk space).\r\nDelayed"},
        {-1, "\r\nChat logging disabled (saves disk space).\r\nDelayed"},
    };
    for (auto [level, phrase] : levels) {
        setup.m_iLogChatLevel = level;
        EXPECT_NE(describe().find(phrase), std::string::npos) << level;
    }
}

TEST_F(DescriptionTest, RotatingOverviewListsEachMapInOrder) {
    setup.m_fCycleMaps = 1;
    setup.m_acsCycleMapList[0] = "Redwater Dam";
    setup.m_acsCycleMapList[2] = "Glasshollow";
    setup.m_acsCycleMapList[3] = "Unknown";
    const std::string text = describe(true);
    const std::string expected = "ES2 allowed (if defined)\r\n\r\n"
                                 "Map \"Redwater Dam\" Overview\r\n----------------------------\r\n" +
                                 maps.find("Redwater Dam")->description +
                                 "\r\nMap \"Glasshollow\" Overview\r\n----------------------------\r\n" +
                                 maps.find("Glasshollow")->description +
                                 "\r\nMap \"Unknown\" Overview\r\n----------------------------\r\n\r\n"
                                 "\r\nNotes\r\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
}
