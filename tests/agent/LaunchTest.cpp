#include "agent/ControlFile.h"
#include "agent/LaunchCommand.h"

#include <gtest/gtest.h>

using namespace kv;
using namespace kv::agent;

TEST(ControlFile, PathRule) {
    EXPECT_EQ(control_file::path("/work", "Duel.Control"), "/work/Configurations/Duel.Control");
    EXPECT_EQ(control_file::path("/work", "/elsewhere/X.Control"), "/elsewhere/X.Control");
}

TEST(ControlFile, ReadsKeysResetsRunModeAndKeepsMissingKeys) {
    ActiveConfiguration c;
    control_file::parse("Name=Duel\r\nRunMode=LAN\nmap=Arena.map\nIni=Duel.ini\nGamePlayerPassword=pp\n"
                        "GameAdminPassword=ap\nDescription=first0xAsecond0xA|pipe\nUnknown=1\n",
                        c);
    EXPECT_EQ(c.name, "Duel");
    EXPECT_EQ(c.runMode, "LAN");
    EXPECT_EQ(c.map, "Arena.map");
    EXPECT_EQ(c.ini, "Duel.ini");
    EXPECT_EQ(c.playerPassword, "pp");
    EXPECT_EQ(c.adminPassword, "ap");
    EXPECT_EQ(c.description, "first\nsecond\n|pipe");

    // The next file lacks RunMode and Description: run mode falls back to GLOBAL, the description stays.
    control_file::parse("Name=Other\nMap=Town.map\n", c);
    EXPECT_EQ(c.name, "Other");
    EXPECT_EQ(c.runMode, "GLOBAL");
    EXPECT_EQ(c.ini, "Duel.ini");
    EXPECT_EQ(c.description, "first\nsecond\n|pipe");
}

TEST(ControlFile, MissingFileOrFolderIsUnreadable) {
    ActiveConfiguration c;
    c.name = "kept";
    EXPECT_FALSE(control_file::read("/nonexistent/x.Control", c));
    EXPECT_FALSE(control_file::read("/tmp", c));
    EXPECT_EQ(c.name, "kept");
}

namespace {
LaunchInputs sample() {
    LaunchInputs in;
    in.programPath = "/opt/Korvane/System/server.bin";
    in.runMode = "GLOBAL";
    in.map = "Arena.map";
    in.setupName = "Duel";
    in.launchTime.year = 2007;
    in.launchTime.month = 3;
    in.launchTime.day = 7;
    in.launchTime.hour = 9;
    in.launchTime.minute = 5;
    in.launchTime.second = 3;
    in.iniPath = "/work/Configurations/Duel.ini";
    return in;
}
} // namespace

TEST(LaunchCommand, DesignedFormatWithEmptyPairs) {
    EXPECT_EQ(buildCommandLine(sample()).value_or(""),
              "/opt/Korvane/System/server.bin GLOBAL Arena.map log=\"Duel 3-7-2007 at 9-05-03.log\" "
              "ini=\"/work/Configurations/Duel.ini\"    ");
}

TEST(LaunchCommand, OptionalPairsFollowTheirConditions) {
    LaunchInputs in = sample();
    in.serverIp = "10.0.0.1";
    in.honorUserName = "user";
    in.honorPassword = "pw";
    in.honorIp = "1.2.3.4";
    EXPECT_EQ(buildCommandLine(in).value_or(""),
              "/opt/Korvane/System/server.bin GLOBAL Arena.map log=\"Duel 3-7-2007 at 9-05-03.log\" "
              "ini=\"/work/Configurations/Duel.ini\" MULTIHOME=10.0.0.1 ServerAuthUsername=user "
              "ServerAuthPassword=pw ServerAuthIP=1.2.3.4");
    // An address shorter than 7 characters is written without its key.
    in = sample();
    in.serverIp = "1.2.3";
    std::string line = buildCommandLine(in).value_or("");
    EXPECT_EQ(line.substr(line.size() - 10), "\" 1.2.3   ");
}

TEST(LaunchCommand, ArgumentsAreSplitWithoutAShell) {
    LaunchInputs in = sample();
    in.programPath = "/opt/My Game/System/server.bin";
    in.setupName = "Evil $(touch /tmp/pwned); `id` \\";
    in.map = "a;rm -rf x";
    auto args = commandLineArguments(buildCommandLine(in).value_or(""));
    ASSERT_GE(args.size(), 5u);
    EXPECT_EQ(args[0], "/opt/My Game/System/server.bin");
    EXPECT_EQ(args[1], "GLOBAL");
    EXPECT_EQ(args[2], "a;rm");
    EXPECT_EQ(args[4], "x");
    EXPECT_EQ(args[5].rfind("log=Evil $(touch /tmp/pwned); `id` ", 0), 0u);
}

TEST(LaunchCommand, AQuoteOrControlCharacterInAnyValueBuildsNothing) {
    EXPECT_TRUE(buildCommandLine(sample()));
    for (std::string LaunchInputs::*field : {&LaunchInputs::runMode, &LaunchInputs::map, &LaunchInputs::setupName,
                                              &LaunchInputs::iniPath, &LaunchInputs::honorPassword}) {
        for (const char* bad : {"x\" -extra \"", "x\ny", "x\ty"}) {
            LaunchInputs in = sample();
            in.*field = bad;
            EXPECT_FALSE(buildCommandLine(in)) << bad;
        }
    }
    LaunchInputs in = sample();
    in.iniPath = "/work/Configurations/x\\";
    EXPECT_FALSE(buildCommandLine(in));
}
