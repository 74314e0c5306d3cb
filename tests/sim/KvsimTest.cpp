#include "tests/sim/KvsimFixture.h"

#include "common/CommandLine.h"
#include "common/Format.h"
#include "sim/StatusReply.h"
#include "tests/support/Processes.h"
#include "tests/support/WaitUntil.h"

#include <csignal>
#include <sys/socket.h>

using namespace std::chrono_literals;
using kv::test::waitUntil;

TEST_F(KvsimTest, AgentCommandLineRunsUntilAdminShutdown) {
    configure();
    startLine(agentLine("Harbor.kvo", ini));
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s)) << run.output();
    EXPECT_TRUE(run.hasLine("Log: Log file: Alpha 12-7-2026 at 9-05-03.log"));
    EXPECT_TRUE(run.hasLine("Init: Server name: Alpha Base"));
    EXPECT_TRUE(run.hasLine("Warning: Sound device not found")) << "standard error reaches the same pipe";
    EXPECT_FALSE(run.hasLine("WARNING: ")) << "the agent's exact line has nothing unknown in it";
    ASSERT_TRUE(run.waitForLine("Karma", 5s));
    ASSERT_TRUE(run.waitForLine("WARNING", 5s));

    ASSERT_TRUE(sendAdmin("SHUTDOWN\r"));
    EXPECT_EQ(run.waitForExit(10s), 0) << run.output();
    EXPECT_TRUE(run.hasLine("Admin: SHUTDOWN received from 127.0.0.1"));
    EXPECT_TRUE(run.hasLine("Exit: Server stopped"));
}

TEST_F(KvsimTest, AgentPairsAndMultiHomeAddress) {
    configure();
    std::string line = kv::format("%s %s %s log=\"%s\" ini=\"%s\" %s%s %s%s %s%s %s%s",
                                  game.serverProgram().c_str(), "LANTOURNAMENT", "Depot.kvo", "x.log", ini.c_str(),
                                  "MULTIHOME=", "127.0.0.1", "ServerAuthUsername=", "bob", "ServerAuthPassword=",
                                  "pw", "ServerAuthIP=", "127.0.0.2");
    startLine(line);
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s)) << run.output();
    EXPECT_TRUE(run.hasLine("Init: Run mode: LANTOURNAMENT"));
    EXPECT_TRUE(run.hasLine("Init: Multi-home address: 127.0.0.1"));
    EXPECT_TRUE(run.hasLine("Ranking service account: bob (password given)"));
    EXPECT_FALSE(run.output().find("pw\n") != std::string::npos) << "the password is never printed";
    ASSERT_TRUE(sendAdmin("SHUTDOWN\r"));
    EXPECT_EQ(run.waitForExit(10s), 0);
}

TEST_F(KvsimTest, ManagerLocalCommandAndGeneratedShellScript) {
    configure();
    // Local start command: no MULTIHOME, the map name as the log's base name, three trailing blanks.
    startLine(kv::format("%s %s %s log=\"%s.log\" ini=\"%s\" %s%s %s%s %s%s", game.serverProgram().c_str(),
                         "GLOBAL", "Ridge.kvo", "Ridge", ini.c_str(), "", "", "", "", "", ""));
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s)) << run.output();
    run.process().terminate();
    EXPECT_EQ(run.waitForExit(10s), 0);

    // The .sh line runs from the System folder with the ini beside the program.
    kv::test::SimGame::writeIni(game.systemFolder() + "/Beta.ini", "Beta Base");
    kv::test::ProgramRun script;
    ASSERT_TRUE(script.start({"/bin/sh", "-c", "./server.bin GLOBAL Harbor.kvo log=\"Beta.log\" ini=\"Beta.ini\""},
                             {}, game.systemFolder()));
    ASSERT_TRUE(script.waitForLine("Game engine initialized", 10s)) << script.output();
    EXPECT_TRUE(script.hasLine("Init: Server name: Beta Base"));
    ASSERT_TRUE(sendAdmin("SHUTDOWN\r"));
    EXPECT_EQ(script.waitForExit(10s), 0);
}

TEST_F(KvsimTest, MissingMapIniOrBusyPortExitsWithAnError) {
    configure();
    startLine(agentLine("Nowhere.kvo", ini));
    EXPECT_NE(run.waitForExit(10s).value_or(0), 0);
    auto line = run.waitForLine("Exiting due to error", 1s);
    ASSERT_TRUE(line) << run.output();
    EXPECT_NE(line->find(game.mapsFolder() + "/Nowhere.kvo"), std::string::npos) << *line;
    EXPECT_FALSE(run.hasLine("Game engine initialized"));

    kv::test::ProgramRun noIni;
    ASSERT_TRUE(noIni.start(kv::splitCommandLine(agentLine("Harbor.kvo", dir.file("missing.ini")))));
    EXPECT_NE(noIni.waitForExit(10s).value_or(0), 0);
    EXPECT_TRUE(noIni.waitForLine("Exiting due to error", 1s)) << noIni.output();

    kv::test::ProgramRun noMap;
    ASSERT_TRUE(noMap.start({game.serverProgram(), "GLOBAL"}));
    EXPECT_NE(noMap.waitForExit(10s).value_or(0), 0);
    EXPECT_TRUE(noMap.hasLine("Exiting due to error"));

    // A second server on the same admin port cannot run.
    kv::test::ProgramRun first;
    ASSERT_TRUE(first.start(kv::splitCommandLine(agentLine("Harbor.kvo", ini))));
    ASSERT_TRUE(first.waitForLine("Game engine initialized", 10s));
    kv::test::ProgramRun second;
    ASSERT_TRUE(second.start(kv::splitCommandLine(agentLine("Harbor.kvo", ini))));
    EXPECT_NE(second.waitForExit(10s).value_or(0), 0);
    EXPECT_TRUE(second.hasLine("cannot open the admin port")) << second.output();
    EXPECT_TRUE(first.process().running());
}

TEST_F(KvsimTest, StatusQueryIsAnsweredOnceReadyInTwoDatagrams) {
    configure({{"KVSIM_START_DELAY_MS", "1500"}, {"KVSIM_PLAYERS", "3"}});
    startLine(agentLine("Harbor.kvo", ini));
    ASSERT_TRUE(run.waitForLine("Status queries answered", 10s));
    EXPECT_TRUE(query(std::string(kv::sim::statusRequest()), 200).empty()) << "no answer while loading";
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s));

    auto datagrams = query(std::string(kv::sim::statusRequest()));
    ASSERT_EQ(datagrams.size(), 2u);
    EXPECT_EQ(datagrams[1].substr(datagrams[1].size() - 7), "\\final\\");
    std::string reply = datagrams[0] + datagrams[1];
    EXPECT_EQ(replyValue(reply, "hostname"), "Alpha Base");
    EXPECT_EQ(replyValue(reply, "mapname"), "Harbor");
    EXPECT_EQ(replyValue(reply, "numplayers"), "3");
    EXPECT_EQ(replyValue(reply, "maxplayers"), "16");
    EXPECT_EQ(replyValue(reply, "current_round"), "1/5");
    EXPECT_FALSE(replyValue(reply, "player_2").empty());
    EXPECT_TRUE(replyValue(reply, "player_3").empty());
}

TEST_F(KvsimTest, MalformedInputOnBothPortsIsSurvived) {
    configure();
    startLine(agentLine("Harbor.kvo", ini));
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s));

    std::string request(kv::sim::statusRequest());
    for (const std::string& junk : {std::string(), std::string("\\status\\"), request + "x", request.substr(0, 33),
                                    std::string(5000, '\\'), std::string("\0\xff\x01", 3)})
        ASSERT_TRUE(sendDatagram(junk) || junk.empty());
    EXPECT_TRUE(query(std::string(1, '\\'), 200).empty());

    EXPECT_TRUE(sendAdmin(std::string("\0\xfe\r\n", 4)));
    EXPECT_TRUE(sendAdmin(std::string(5000, 'A')));
    EXPECT_TRUE(sendAdmin("shutdown now please\r"));
    ASSERT_TRUE(run.waitForLine("admin command too long", 5s)) << run.output();
    EXPECT_TRUE(run.process().running());
    EXPECT_EQ(query(request).size(), 2u) << "still answering after the junk";

    ASSERT_TRUE(sendAdmin("SHUTDOWN\r"));
    EXPECT_EQ(run.waitForExit(10s), 0);
}

TEST_F(KvsimTest, SigtermEndsItCleanly) {
    configure();
    startLine(agentLine("Harbor.kvo", ini));
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s));
    run.process().terminate();
    EXPECT_EQ(run.waitForExit(10s), 0);
    EXPECT_FALSE(run.process().endedBySignal());
    EXPECT_TRUE(run.hasLine("Exit: Received signal 15"));
    EXPECT_TRUE(run.hasLine("Exit: Server stopped"));
}

TEST_F(KvsimTest, EndsWhenItsParentIsGone) {
    configure();
    kv::test::ProgramRun shell;
    // The shell starts the server in the background and ends; the server is then an orphan.
    ASSERT_TRUE(shell.start({"/bin/sh", "-c", "\"$0\" GLOBAL Harbor.kvo & echo $!; sleep 1.5",
                             game.serverProgram()}));
    auto pidLine = shell.waitForLine("", 5s);
    ASSERT_TRUE(pidLine);
    pid_t server = std::stoi(*pidLine);
    EXPECT_TRUE(shell.waitForLine("Game engine initialized", 5s)) << shell.output();
    EXPECT_TRUE(waitUntil([&] { return kv::test::processGone(server); }, 10s));
}
