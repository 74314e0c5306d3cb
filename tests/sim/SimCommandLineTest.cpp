#include "common/CommandLine.h"
#include "common/Format.h"
#include "sim/GameIni.h"
#include "sim/SimCommandLine.h"

#include <gtest/gtest.h>

using namespace kv;
using namespace kv::sim;

namespace {
SimCommandLine parseLine(const std::string& line) {
    auto arguments = splitCommandLine(line);
    arguments.erase(arguments.begin());
    return parseSimCommandLine(arguments);
}
} // namespace

TEST(SimCommandLine, TakesTheAgentsLineWithAllPairs) {
    std::string line = format("%s %s %s log=\"%s %d-%d-%d at %d-%2.2d-%2.2d.log\" ini=\"%s\" %s%s %s%s %s%s %s%s",
                              "/games/kv/System/server.bin", "LANTOURNAMENT", "Harbor.kvo", "My Setup", 3, 7, 2007, 9,
                              5, 3, "/work/Configurations/My Setup.ini", "MULTIHOME=", "10.0.0.5",
                              "ServerAuthUsername=", "bob", "ServerAuthPassword=", "secret", "ServerAuthIP=",
                              "1.2.3.4");
    SimCommandLine c = parseLine(line);
    EXPECT_EQ(c.error, "");
    EXPECT_TRUE(c.warnings.empty()) << c.warnings.front();
    EXPECT_EQ(c.runMode, "LANTOURNAMENT");
    EXPECT_EQ(c.map, "Harbor.kvo");
    EXPECT_EQ(c.log, "My Setup 3-7-2007 at 9-05-03.log");
    EXPECT_EQ(c.ini, "/work/Configurations/My Setup.ini");
    EXPECT_EQ(c.multiHome, "10.0.0.5");
    EXPECT_EQ(c.authUserName, "bob");
    EXPECT_EQ(c.authPassword, "secret");
    EXPECT_EQ(c.authAddress, "1.2.3.4");
}

TEST(SimCommandLine, EmptyPairsLeaveOnlyBlanksAndRunModeDefaults) {
    SimCommandLine c = parseLine("/g/System/server.bin global Depot.kvo log=\"x.log\" ini=\"/c/x.ini\"    ");
    EXPECT_EQ(c.error, "");
    EXPECT_EQ(c.runMode, "GLOBAL");
    EXPECT_TRUE(c.warnings.empty());
    EXPECT_TRUE(c.multiHome.empty());

    SimCommandLine odd = parseLine("server.bin COOP Depot.kvo 1.2.3 Foo=bar");
    EXPECT_EQ(odd.runMode, "GLOBAL");
    EXPECT_EQ(odd.map, "Depot.kvo");
    ASSERT_EQ(odd.warnings.size(), 3u);
    EXPECT_NE(odd.warnings[0].find("COOP"), std::string::npos);

    EXPECT_FALSE(parseLine("server.bin GLOBAL").error.empty());
    EXPECT_FALSE(parseLine("server.bin").error.empty());
    EXPECT_TRUE(parseLine("server.bin --help").help);
}

TEST(GameIni, ReadsTheShownValuesFirstKeyWins) {
    GameIni ini = parseGameIni("[Engine.GameInfo]\r\n  servername= Alpha Base \r\nServerName=Second\r\n"
                               "; MaxPlayers=2\r\nMaxPlayers=300\r\nRoundsPerMatch=0\r\nGamePassword=x\r\n"
                               "bTournamentMode=True\r\nPort=99999\r\nAdminEmail=a@b.c");
    EXPECT_EQ(ini.hostName, "Alpha Base");
    EXPECT_EQ(ini.maxPlayers, 64);
    EXPECT_EQ(ini.roundsPerMatch, 1);
    EXPECT_TRUE(ini.passworded);
    EXPECT_TRUE(ini.tournament);
    EXPECT_EQ(ini.gamePort, 1716);
    EXPECT_EQ(ini.adminEmail, "a@b.c");
    EXPECT_EQ(parseGameIni("").hostName, "Korvane Server");
}
