// Runs the built kvsm on temporary working folders, with its own home, settings and data folders.
#include "common/AtomicFile.h"
#include "common/Files.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupDescription.h"
#include "manager/setups/SetupStore.h"
#include "tests/cli/KvsmRun.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>
#include <utime.h>

using namespace kv::setups;

namespace {

using Result = kv::test::KvsmResult;

class KvsmTest : public ::testing::Test {
protected:
    KvsmTest() {
        work = dir.file("work");
        dir.write("work/Server Setups/Alpha.ServerConfig",
                  "m_csName=Alpha\r\nm_csMapName=Cinder Pass\r\nm_csMapFile=KV-CinderPass.kvo\r\n"
                  "m_csServerName=Alpha Server\r\nm_csPlayerAdminList=Ann&Bob\r\n"
                  "m_csSetupDescription=Friday nights<BR>bring a headset\r\n");
        dir.write("work/Server Setups/Cup.ServerConfig",
                  "m_csName=Cup Final\nm_fTournamentModeEnabled=1\nm_csTournamentEventName=Cup\nm_iMaxTeamSize=6\n"
                  "m_fLANOnly=1\nm_csMapName=Redwater Dam\nm_csMapFile=KV-RedwaterDam.kvo\n");
        dir.write("work/Server Setups/Rotor.ServerConfig",
                  "m_csName=Rotor\nm_fCycleMaps=1\nm_acsCycleMapList[0]=Glasshollow\n"
                  "m_acsCycleMapList[1]=Cinder Pass\n");
    }

    Result run(const std::vector<std::string>& arguments) { return kv::test::runKvsm(dir, arguments, path); }

    std::string expectedDescription(const std::string& name, bool detailed) const {
        ServerSetup setup;
        EXPECT_TRUE(SetupStore(work).load(name, setup));
        return describeSetup(setup, MapTable::load(work + "/MapInfo.xml"), detailed);
    }

    kv::test::TempDir dir;
    std::string work;
    std::string path = "/usr/bin:/bin";
};

} // namespace

TEST_F(KvsmTest, HelpAndUsageErrors) {
    Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("setup"), std::string::npos);
    Result setupHelp = run({"setup", "--help"});
    EXPECT_EQ(setupHelp.status, 0);
    for (const char* command : {"list [", "describe [--detailed]", "generate [", "copy [", "delete [", "import ["})
        EXPECT_NE(setupHelp.out.find(command), std::string::npos) << command;
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"nonsense"}).status, 2);
    Result unknown = run({"setup", "frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown command \"frobnicate\""), std::string::npos);
    Result badOption = run({"setup", "list", "--workdir", work, "--colour"});
    EXPECT_EQ(badOption.status, 2);
    EXPECT_NE(badOption.err.find("Unknown option --colour."), std::string::npos);
    EXPECT_EQ(run({"setup", "describe", "--workdir", work}).status, 2);
    EXPECT_EQ(run({"setup", "import", "--workdir", work, "--replace", "--rename", "x"}).status, 2);
}

TEST_F(KvsmTest, ListSortsByRootCategoryAndName) {
    dir.write("work/Server Setups/Beta.ServerConfig", "m_csName=Beta\nm_csMapName=Cinder Pass\n");
    const std::string empty = dir.write("work/Server Setups/Empty.ServerConfig", "");
    const struct utimbuf longAgo { 1000000000, 1000000000 };
    ASSERT_EQ(::utime(empty.c_str(), &longAgo), 0); // fresh empty files may still be downloading
    dir.write("work/Server Setups/Broken.ServerConfig", "\x01\x02 no name here \xff\n");
    Result r = run({"setup", "list", "--workdir", work});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Standard Server Setups\tCinder Pass\tAlpha\n"
                     "Standard Server Setups\tCinder Pass\tBeta\n"
                     "Standard Server Setups\tRotating Through 2 Maps\tRotor\n"
                     "Tournament Server Setups\tCup - 6 on 6 Tournament\tCup Final\n");
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(kv::fileExists(work + "/Server Setups/Empty.ServerConfig"));
}

TEST_F(KvsmTest, UnusableWorkingFolderIsReported) {
    const std::string blocked = dir.write("blocked", "a file, not a folder");
    Result r = run({"setup", "list", "--workdir", blocked});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot be used"), std::string::npos) << r.err;

    // An empty --workdir names no folder; it must not turn the current folder into a library.
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    const std::string here = dir.file("here");
    ASSERT_TRUE(kv::makeDirectories(here));
    ASSERT_EQ(::chdir(here.c_str()), 0);
    Result empty = run({"setup", "list", "--workdir", ""});
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("cannot be used"), std::string::npos) << empty.err;
    EXPECT_FALSE(kv::directoryExists(here + "/Server Setups"));
    EXPECT_FALSE(kv::fileExists(here + "/ConfigurationTemplate.ini"));
}

TEST_F(KvsmTest, NewWorkingFolderGetsTheShippedFiles) {
    Result r = run({"setup", "list"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string folder = dir.file("data/KV Server Manager");
    EXPECT_TRUE(kv::directoryExists(folder + "/Server Setups"));
    EXPECT_EQ(kv::readFile(folder + "/MapInfo.xml"), kv::readFile(std::string(KV_TEST_DATA_DIR) + "/MapInfo.xml"));
    EXPECT_TRUE(kv::fileExists(folder + "/ConfigurationTemplate.ini"));
}

TEST_F(KvsmTest, DescribeWritesTheTextByteForByte) {
    for (bool detailed : {false, true}) {
        std::vector<std::string> args = {"setup", "describe", "--workdir", work, "Alpha"};
        if (detailed)
            args.insert(args.begin() + 2, "--detailed");
        Result r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, expectedDescription("Alpha", detailed));
        EXPECT_NE(r.out.find("Notes\r\n--------------------------\r\nFriday nights\r\nbring a headset"),
                  std::string::npos);
        EXPECT_EQ(r.out.find("**IMPORTANT**") != std::string::npos, detailed);
    }
    Result byPath = run({"setup", "describe", "--workdir", work, work + "/Server Setups/Cup.ServerConfig"});
    EXPECT_EQ(byPath.status, 0) << byPath.err;
    EXPECT_TRUE(byPath.out.starts_with("Tournament Server Name (as shown in Deployment page): \r\n"));

    Result missing = run({"setup", "describe", "--workdir", work, "Nobody"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("\"Nobody\" could not be read"), std::string::npos);
}

TEST_F(KvsmTest, DescribeUsesTheWorkingFoldersMapInfo) {
    run({"setup", "list", "--workdir", work}); // copies the shipped MapInfo.xml
    std::string xml = kv::readFile(work + "/MapInfo.xml").value_or("");
    const std::string original = "Plays best with 3 to 6 players on each team.";
    ASSERT_NE(xml.find(original), std::string::npos);
    xml.replace(xml.find(original), original.size(), "Edited advice for the pass.");
    ASSERT_TRUE(kv::writeFileAtomically(work + "/MapInfo.xml", xml));
    Result r = run({"setup", "describe", "--detailed", "--workdir", work, "Alpha"});
    EXPECT_NE(r.out.find("\r\nEdited advice for the pass.\r\n"), std::string::npos) << r.out;
}

TEST_F(KvsmTest, GenerateWithOptions) {
    const std::string docs = dir.file("My Documents");
    Result r = run({"setup", "generate", "--workdir", work, "--documents", docs, "--server-location",
                    "/srv/korvane game/System", "--auth-user", "ranked", "--auth-ip", "192.0.2.7", "Cup"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = docs + "/Korvane Server Setups/";
    EXPECT_EQ(r.out, "\"/srv/korvane game/System/server.bin\" LANTOURNAMENT KV-RedwaterDam.kvo "
                     "log=\"Redwater Dam.log\" ini=\"" +
                         out +
                         "Cup Final.ini\" ServerAuthUsername=ranked  "
                         "ServerAuthIP=192.0.2.7\n");
    EXPECT_EQ(kv::readFile(out + "Cup Final.sh"),
              "./server.bin LANTOURNAMENT KV-RedwaterDam.kvo log=\"Cup Final.log\" ini=\"Cup Final.ini\"");
    std::string ini = kv::readFile(out + "Cup Final.ini").value_or("");
    EXPECT_NE(ini.find("\nDefaultServerGame=KVP_Gameplay.KVP_GameTournament\n"), std::string::npos);
    EXPECT_NE(ini.find("\nServerAuthUsername=ranked\nServerAuthPassword=\n"), std::string::npos);
    EXPECT_EQ(ini.find("[$"), std::string::npos);
    EXPECT_TRUE(kv::fileExists(out + "Cup Final.bat"));
}

TEST_F(KvsmTest, GenerateTakesItsDefaultsFromThePreferences) {
    dir.write("config/Valdren/Korvane.conf", "[Options]\nAuthServerUserName=prefs-user\n"
                                             "AuthServerPassword=prefs-secret\n");
    dir.write("system-config/Valdren/Korvane.conf", "[Operations]\nInstallDir=/opt/korvane\n");
    Result r = run({"setup", "generate", "--workdir", work, "Alpha"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string ini = dir.file("home/Documents/Korvane Server Setups/Alpha.ini");
    EXPECT_EQ(r.out, "/opt/korvane/System/server.bin GLOBAL KV-CinderPass.kvo log=\"Cinder Pass.log\" ini=\"" + ini +
                         "\" ServerAuthUsername=prefs-user ServerAuthPassword=prefs-secret \n");
    EXPECT_TRUE(kv::fileExists(ini));

    dir.write("config/Valdren/Korvane.conf", "[Options]\nServerLocation=/chosen/folder\n");
    Result chosen = run({"setup", "generate", "--workdir", work, "Alpha"});
    EXPECT_TRUE(chosen.out.starts_with("/chosen/folder/server.bin GLOBAL ")) << chosen.out;
}

TEST_F(KvsmTest, GenerateReportsAMissingTemplate) {
    ASSERT_TRUE(kv::makeDirectories(work + "/ConfigurationTemplate.ini")); // present, but not a readable file
    Result r = run({"setup", "generate", "--workdir", work, "--documents", dir.file("docs"), "Alpha"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Required Configuration File Missing: A required configuration file "
                         "\"ConfigurationTemplate.ini\" could not be found."),
              std::string::npos);
    EXPECT_FALSE(kv::fileExists(dir.file("docs/Korvane Server Setups/Alpha.ini")));
}

TEST_F(KvsmTest, EmailComposesTheMessageAPlayerReceives) {
    const std::string docs = dir.file("docs");
    Result r = run({"setup", "email", "--print", "--workdir", work, "--documents", docs, "Cup"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = docs + "/Korvane Server Setups/";
    const std::string expected =
        "Cup Tournament Cup Final Server Configuration Files\n"
        "Attach: " +
        out + "Cup Final.ini\nAttach: " + out + "Cup Final.bat\nAttach: " + out +
        "Cup Final.sh\n"
        "Attach: " +
        work +
        "/Server Setups/Cup.ServerConfig\n\n"
        "The attached files are for use with an Korvane LAN or private \"tournament mode\" server.\r\n\r\n"
        "If you have the Korvane Server Manager installed you may load the file \"Cup Final.ServerConfig\" into it "
        "to control your server.\r\n\r\n"
        "To use them save the attached files into your Korvane System folder (typically \"C:\\Program "
        "Files\\Korvane\\System\").\r\n\r\n"
        "Once you have saved the attached files you can run the server using this configuration file on a Windows "
        "PC by creating a shortcut on your desktop to:\r\n\r\n"
        "\"C:\\Program Files\\Korvane\\System\\server.exe\" LANTOURNAMENT KV-RedwaterDam.kvo "
        "log=\"Cup Final.log\" ini=\"Cup Final.ini\"\r\n\r\n"
        "(be sure and include the quotation marks) or on a Linux server use:\r\n\r\n\"./Cup Final.sh\"\r\n\r\n"
        "(making sure you are in the Korvane system folder).\r\n\r\n"
        "The administrator password for this server is \"\".\r\n"
        "This server does not require a player password to join.\r\n\r\n"
        "If you have the Korvane Server Manager installed you can customize this server setup by saving the "
        "attached file \"Cup Final.ServerConfig\" to the \"Server Setups\" folder under the folder where you "
        "installed the program and then using the \"Add E-Mailed Server Setup You Have Received\" menu "
        "option.\r\n\r\nThis server setup supports the following features:\r\n\r\n" +
        expectedDescription("Cup", false);
    EXPECT_EQ(r.out, expected);

    // A player password and a league change their sentences; without a mail composer the user is told.
    dir.write("work/Server Setups/League.ServerConfig",
              "m_csName=League\nm_csLeagueName=North\nm_csPlayerPassword=let me in\nm_csAdminPassword=boss\n");
    Result league = run({"setup", "email", "--print", "--workdir", work, "--documents", docs, "League"});
    EXPECT_NE(league.out.find("Korvane Internet server for the \"North\" league.\r\n"), std::string::npos);
    EXPECT_NE(league.out.find("is \"boss\".\r\nPlayers must use the following password: \"let me in\".\r\n\r\n"),
              std::string::npos);
    path = dir.file("no-programs");
    Result missing = run({"setup", "email", "--workdir", work, "--documents", docs, "League"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("xdg-email"), std::string::npos);
}

TEST_F(KvsmTest, CopyAndDelete) {
    Result copy = run({"setup", "copy", "--workdir", work, "Alpha"});
    EXPECT_EQ(copy.status, 0) << copy.err;
    EXPECT_EQ(copy.out, "Alpha (Copy)\n");
    Result again = run({"setup", "copy", "--workdir", work, "Alpha"});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("You have already made a copy of this server setup."), std::string::npos);

    Result del = run({"setup", "delete", "--workdir", work, "Alpha (Copy)"});
    EXPECT_EQ(del.status, 0) << del.err;
    EXPECT_FALSE(kv::fileExists(work + "/Server Setups/Alpha (Copy).ServerConfig"));
    Result gone = run({"setup", "delete", "--workdir", work, "Alpha (Copy)"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("There is no server setup named \"Alpha (Copy)\"."), std::string::npos);
}

TEST_F(KvsmTest, ImportRefusesThenReplacesOrRenames) {
    const std::string mail = dir.write("inbox/Alpha.ServerConfig", "m_csName=Alpha\nm_iMaxPlayers=8\n");
    Result refused = run({"setup", "import", "--workdir", work, mail});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("The server setup you are trying to add already exists in your server "
                               "configuration list."),
              std::string::npos);
    EXPECT_NE(refused.err.find("--replace"), std::string::npos);

    Result renamed = run({"setup", "import", "--rename", "--workdir", work, mail});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_TRUE(renamed.out.starts_with("Alpha - Added ")) << renamed.out;
    Result replaced = run({"setup", "import", "--replace", "--workdir", work, mail});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(replaced.out, "Alpha\n");
    ServerSetup s;
    ASSERT_TRUE(SetupStore(work).load("Alpha", s));
    EXPECT_EQ(s.m_iMaxPlayers, 8);

    const std::string fresh = dir.write("inbox/New One.ServerConfig", "m_csName=New One\n");
    Result added = run({"setup", "import", "--workdir", work, fresh});
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "New One\n");
    Result junk = run({"setup", "import", "--workdir", work, dir.write("inbox/junk.ServerConfig", "junk")});
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.err.find("is not a server setup"), std::string::npos);
}
