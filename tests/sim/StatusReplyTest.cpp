#include "sim/MatchState.h"
#include "sim/StatusReply.h"

#include <gtest/gtest.h>

using namespace kv::sim;

namespace {

// The reader's rule: the first occurrence of "key\", the value up to the next backslash.
std::string valueOf(const std::string& reply, const std::string& key) {
    std::size_t at = reply.find(key + "\\");
    if (at == std::string::npos)
        return {};
    std::size_t begin = at + key.size() + 1;
    std::size_t end = reply.find('\\', begin);
    return end == std::string::npos ? std::string() : reply.substr(begin, end - begin);
}

} // namespace

TEST(StatusReply, RequestIsExactlyThe34Bytes) {
    EXPECT_EQ(statusRequest().size(), 34u);
    EXPECT_TRUE(isStatusRequest("\\info\\\\status\\gamestats\\\\players\\\\"));
    EXPECT_FALSE(isStatusRequest("\\info\\\\status\\gamestats\\\\players\\\\\n"));
    EXPECT_FALSE(isStatusRequest("\\status\\"));
    EXPECT_FALSE(isStatusRequest(""));
}

TEST(StatusReply, TwoDatagramsCarryEveryKeyAndEndWithFinal) {
    GameIni ini;
    ini.hostName = "Back\\slash Base";
    ini.maxPlayers = 16;
    ini.roundsPerMatch = 5;
    ini.adminName = "Ann";
    MatchState match(ini, "Harbor", 3, 60);
    // 150 s into the game: third round of five, 30 s left.
    auto datagrams = buildStatusReply(match.snapshot(150.5));
    ASSERT_EQ(datagrams.size(), 2u);
    EXPECT_EQ(datagrams[0].find("\\final"), std::string::npos);
    const std::string& second = datagrams[1];
    ASSERT_GE(second.size(), 7u);
    EXPECT_EQ(second.substr(second.size() - 7), "\\final\\");
    std::string reply = datagrams[0] + datagrams[1];

    for (const char* key : {"numplayers", "gamever", "hostname", "gamename", "hostport", "mapname", "gametype",
                            "maxplayers", "numteams", "tour", "official", "leased", "miles", "cheats", "tournament",
                            "nato", "minhonor", "maxhonor", "password", "sv_punkbuster", "AdminName", "AdminEmail",
                            "gamemode", "current_round", "mission_time", "score_t0", "score_t1", "ultimate_arena"})
        EXPECT_NE(reply.find(std::string("\\") + key + "\\"), std::string::npos) << key;
    EXPECT_EQ(valueOf(reply, "numplayers"), "3");
    EXPECT_EQ(valueOf(reply, "maxplayers"), "16");
    EXPECT_EQ(valueOf(reply, "hostname"), "Back/slash Base");
    EXPECT_EQ(valueOf(reply, "mapname"), "Harbor");
    EXPECT_EQ(valueOf(reply, "current_round"), "3/5");
    EXPECT_EQ(valueOf(reply, "mission_time"), "0:30");
    EXPECT_EQ(valueOf(reply, "AdminName"), "Ann");
    for (int n = 0; n < 3; ++n) {
        std::string suffix = "_" + std::to_string(n);
        EXPECT_EQ(valueOf(reply, "player" + suffix), match.playerNames()[static_cast<std::size_t>(n)]);
        for (const char* base : {"enemy", "kia", "ping", "honor", "leader", "goal"})
            EXPECT_FALSE(valueOf(reply, base + suffix).empty()) << base << suffix;
    }
    EXPECT_EQ(valueOf(reply, "player_3"), "");
}

TEST(StatusReply, PlayersAreLimitedByTheServerAndRoundsWrap) {
    GameIni ini;
    ini.maxPlayers = 2;
    ini.roundsPerMatch = 3;
    MatchState match(ini, "Depot", 10, 100);
    EXPECT_EQ(match.playerNames().size(), 2u);
    EXPECT_EQ(match.roundAt(0), 1);
    EXPECT_EQ(match.roundAt(299), 3);
    EXPECT_EQ(match.roundAt(300), 1);

    MatchState empty(ini, "Depot", 0, 100);
    auto datagrams = buildStatusReply(empty.snapshot(5));
    EXPECT_EQ(datagrams[1], "\\queryid\\1.2\\final\\");
    EXPECT_EQ(valueOf(datagrams[0], "numplayers"), "0");
}
