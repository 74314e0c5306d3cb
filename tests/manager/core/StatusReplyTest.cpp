#include "manager/core/StatusReply.h"
#include "manager/core/StatusSummary.h"

#include <gtest/gtest.h>

using namespace kv::core;

namespace {

// A reply as the game sends it: the server keys, then the players with "final" at the end.
const std::string kFirst = "\\gamename\\korvane\\gamever\\1.0.2\\hostport\\1716\\gametype\\Team Objective"
                           "\\numplayers\\2\\maxplayers\\16\\official\\1\\leased\\1\\miles\\0\\cheats\\1"
                           "\\minhonor\\5\\maxhonor\\90\\sv_punkbuster\\1\\current_round\\3/5\\mission_time\\1:07"
                           "\\score_t0\\12\\score_t1\\-3\\mapname\\Harbor\\hostname\\Alpha Base\\queryid\\1.1";
const std::string kSecond = "\\enemy_0\\7\\kia_0\\2\\ping_0\\48\\honor_0\\31\\leader_0\\4\\goal_0\\1"
                            "\\enemy_1\\0\\player_0\\Raven\\player_1\\Kestrel\\queryid\\1.2\\final\\";

} // namespace

TEST(StatusReply, TwoDatagramsJoinedGiveEveryFigureAndTheSummary) {
    EXPECT_FALSE(statusReplyComplete(kFirst));
    ASSERT_TRUE(statusReplyComplete(kFirst + kSecond));
    const ServerStatus s = parseStatusReply(kFirst + kSecond);
    EXPECT_EQ(s.value("GameType"), "Team Objective");
    EXPECT_EQ(s.value("HostName"), "Alpha Base");
    EXPECT_EQ(s.value("Punkbuster"), "1");
    EXPECT_EQ(s.value("PunkBuster"), "1");
    EXPECT_FALSE(s.has("NATO"));
    EXPECT_EQ(s.scoreTeam1(), -3);
    ASSERT_EQ(s.players().size(), 2u);
    const StatusPlayer& raven = s.players()[0];
    EXPECT_EQ(raven.value("Name"), "Raven");
    EXPECT_EQ(raven.values.size(), 7u);
    EXPECT_EQ(raven.value("GoalPoints"), "1");
    EXPECT_EQ(s.players()[1].values,
              (std::map<std::string, std::string, std::less<>>{{"Name", "Kestrel"}, {"EnemyKills", "0"}}));
    EXPECT_EQ(statusSummary(s), "Version: 1.0.2,  Current Map: \"Harbor\"\r\n"
                                "Games Per Match: 5\r\n"
                                "Current Round: 3, Game Time Remaining: 1:07\r\n"
                                "Current Players: 2, Max Players: 16\r\n"
                                "Team 0 Score: 12, Team 1 Score: -3\r\n"
                                "Status: Cheats Enabled Leased Server Official Live Fire\r\n"
                                "Minimum Honor: 5, Maximum Honor: 90\r\n");
}

TEST(StatusReply, FlagsAreExactlyOneAndARoundWithoutSlashHasNoGamesPerMatch) {
    const ServerStatus s = parseStatusReply("\\miles\\1\\official\\1 \\current_round\\4\\");
    EXPECT_FALSE(s.official());
    EXPECT_EQ(s.currentRound(), 4);
    EXPECT_EQ(s.gamesPerMatch(), 0);
    EXPECT_NE(statusSummary(s).find("\r\nStatus:  Unofficial MILES\r\n"), std::string::npos);
}

TEST(StatusReply, PlayersWithoutNamesAreLeftOut) {
    const ServerStatus s =
        parseStatusReply("\\numplayers\\2\\player_0\\Raven\\ping_1\\20\\player_1\\\\player_2\\Ghost\\final\\");
    ASSERT_EQ(s.players().size(), 1u);
    EXPECT_EQ(s.players()[0].number, 0);
    EXPECT_EQ(s.playerCount(), 2);

    const ServerStatus gap = parseStatusReply("\\numplayers\\3\\player_0\\\\player_2\\Ghost\\final\\");
    ASSERT_EQ(gap.players().size(), 1u);
    EXPECT_EQ(gap.players()[0].number, 2);
    EXPECT_EQ(gap.players()[0].value("Name"), "Ghost");
}

TEST(StatusReply, KeysAreWholePairsNeverTextInsideAValue) {
    // A value ending in a key's text, a value equal to a key, and a key given twice: pairs decide, the first wins.
    const ServerStatus s = parseStatusReply("\\AdminName\\myhostname\\mapname\\mapname\\hostname\\Real Base"
                                            "\\numplayers\\1\\AdminEmail\\player_0\\player_0\\Raven"
                                            "\\hostname\\Second\\final\\");
    EXPECT_EQ(s.value("AdminName"), "myhostname");
    EXPECT_EQ(s.mapName(), "mapname");
    EXPECT_EQ(s.value("HostName"), "Real Base");
    EXPECT_EQ(s.value("AdminEmail"), "player_0");
    ASSERT_EQ(s.players().size(), 1u);
    EXPECT_EQ(s.players()[0].value("Name"), "Raven");

    // Nor does "final" inside a value end a reply; text before the first backslash and a doubled separator between
    // datagrams are no pairs.
    EXPECT_FALSE(statusReplyComplete("\\hostname\\final\\"));
    EXPECT_FALSE(statusReplyComplete("\\hostname\\finalists\\"));
    EXPECT_TRUE(statusReplyComplete("\\queryid\\1.2\\final"));
    const ServerStatus joined = parseStatusReply("junk\\gamever\\1.0\\numteams\\2\\\\tour\\4\\");
    EXPECT_EQ(joined.version(), "1.0");
    EXPECT_EQ(joined.value("NumTeams"), "2");
    EXPECT_EQ(joined.value("Tour"), "4");
}

TEST(StatusReply, KeysWithoutValues) {
    // An empty value, a value that no backslash ends (cut short), and a key at the very end.
    const ServerStatus cut = parseStatusReply("\\gamever\\\\maxplayers\\16\\mapname\\Harb");
    EXPECT_TRUE(cut.has("Version"));
    EXPECT_EQ(cut.version(), "");
    EXPECT_EQ(cut.maxPlayers(), 16);
    EXPECT_TRUE(cut.has("MapName"));
    EXPECT_EQ(cut.mapName(), "");
    const ServerStatus last = parseStatusReply("\\maxplayers\\16\\numplayers");
    EXPECT_TRUE(last.has("NumberPlayers"));
    EXPECT_EQ(last.playerCount(), 0);
    EXPECT_TRUE(parseStatusReply("no backslash at all").keys().empty());
    EXPECT_TRUE(parseStatusReply("\\\\\\\\").keys().empty());
}

TEST(StatusReply, HugePlayerCountsKeepAtMost64Players) {
    std::string reply = "\\numplayers\\1000000000";
    for (int n = 0; n < 100; ++n)
        reply += "\\player_" + std::to_string(n) + "\\P" + std::to_string(n) + "\\ping_" + std::to_string(n) + "\\9";
    reply += "\\final\\";
    const ServerStatus s = parseStatusReply(reply);
    EXPECT_EQ(s.playerCount(), 1000000000);
    ASSERT_EQ(s.players().size(), 64u);
    EXPECT_EQ(s.players().back().value("Name"), "P63");
    EXPECT_EQ(s.players().back().value("Ping"), "9");
    EXPECT_NE(statusSummary(s).find("Current Players: 1000000000,"), std::string::npos);

    EXPECT_EQ(parseStatusReply("\\numplayers\\99999999999999999999\\player_0\\A\\").playerCount(), 2147483647);
    EXPECT_TRUE(parseStatusReply("\\numplayers\\-5\\player_0\\A\\").players().empty());
    // Bytes beyond the limit are not read.
    std::string huge = "\\gamever\\" + std::string(kStatusReplyLimit, 'x') + "\\mapname\\Harbor\\";
    EXPECT_FALSE(parseStatusReply(huge).has("MapName"));
}
