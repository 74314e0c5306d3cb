// kvsm query against a scripted game server on loopback.
#include "tests/cli/KvsmRun.h"
#include "tests/support/FreePort.h"
#include "tests/support/ScriptedStatusPeer.h"

#include <gtest/gtest.h>

using Answer = kv::test::ScriptedStatusPeer::Answer;

namespace {

std::vector<Answer> reply(std::size_t, std::string_view) {
    return {{"\\gamever\\1.0.2\\hostname\\Alpha\x1b[2J Base\\numplayers\\3\\maxplayers\\16\\miles\\1"
             "\\current_round\\2/3\\mission_time\\0:42\\sv_punkbuster\\1\\queryid\\1.1"},
            {"\\ping_0\\40\\player_0\\Raven\\player_2\\Kestrel\\kia_2\\1\\final\\"}};
}

} // namespace

TEST(KvsmQuery, SummaryRawAndNoAnswer) {
    kv::test::TempDir dir;
    kv::test::ScriptedStatusPeer peer(reply);
    const std::string target = "127.0.0.1:" + std::to_string(peer.port());

    kv::test::KvsmResult summary = kv::test::runKvsm(dir, {"query", target});
    EXPECT_EQ(summary.status, 0) << summary.err;
    EXPECT_EQ(summary.out, "Version: 1.0.2,  Current Map: \"\"\r\nGames Per Match: 3\r\n"
                           "Current Round: 2, Game Time Remaining: 0:42\r\nCurrent Players: 3, Max Players: 16\r\n"
                           "Team 0 Score: 0, Team 1 Score: 0\r\nStatus:  Unofficial MILES\r\n"
                           "Minimum Honor: 0, Maximum Honor: 0\r\n");

    kv::test::KvsmResult raw = kv::test::runKvsm(dir, {"query", "--raw", target});
    EXPECT_EQ(raw.status, 0) << raw.err;
    EXPECT_EQ(raw.out, "NumberPlayers\t3\nVersion\t1.0.2\nHostName\tAlpha?[2J Base\nMaxPlayers\t16\nMiles\t1\n"
                       "Punkbuster\t1\nPunkBuster\t1\nCurrentRound\t2/3\nMissionTime\t0:42\n"
                       "player.0.Name\tRaven\nplayer.0.Ping\t40\nplayer.2.Name\tKestrel\nplayer.2.KIA\t1\n");
    EXPECT_EQ(peer.received().size(), 2u);

    // Nothing listens on a free port: the kernel's refusal ends the wait at once.
    kv::test::KvsmResult none =
        kv::test::runKvsm(dir, {"query", "localhost:" + std::to_string(kv::test::freeUdpPort())});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "Not Available\n");
    EXPECT_NE(none.err.find("no answer"), std::string::npos) << none.err;
}

TEST(KvsmQuery, UsageErrors) {
    kv::test::TempDir dir;
    kv::test::KvsmResult help = kv::test::runKvsm(dir, {"query", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: kvsm query [--raw] HOST[:PORT]\n", 0), 0u);
    EXPECT_NE(kv::test::runKvsm(dir, {"--help"}).out.find("query"), std::string::npos);
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"query"}, {"query", "a", "b"}, {"query", "--verbose", "a"}, {"query", "host:65536"}, {"query", "[::1"}})
        EXPECT_EQ(kv::test::runKvsm(dir, wrong).status, 2) << wrong.back();
}
