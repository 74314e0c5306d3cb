#include "agent/SettingsFile.h"
#include "agent/AgentOptions.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Md5.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

using namespace kv;
using namespace kv::agent;

namespace {

std::string tempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvagent-settings-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    return made ? std::string(made) : std::string();
}

} // namespace

TEST(SettingsFile, DefaultsCarryTheDigestOfTheDefaultPassword) {
    AgentSettings s = AgentSettings::defaults();
    EXPECT_EQ(s.md5Password, md5Hex("Gatepost"));
    EXPECT_EQ(s.adminName, "Admin");
    EXPECT_EQ(s.remoteControlServerPort, 49310);
    EXPECT_EQ(s.maxConsoleLoggingRamInK, 2000);
    EXPECT_TRUE(s.createRunningLog);
    EXPECT_FALSE(s.timedAutoRestartServer);
    EXPECT_EQ(s.timeOfDayInMinutesToRestartServer, 180);
}

TEST(SettingsFile, WritesExactlyTheDesignedLines) {
    AgentSettings s = AgentSettings::defaults();
    s.serverIp = "10.0.0.5";
    s.adminName = "Boss";
    s.activeControlFile = "Duel.Control";
    s.gameServerPath = "/opt/Korvane";
    s.showMemoryUsage = true;
    std::string text = settings_file::render(s);
    const std::string host = settings_file::kHonorSiteHost;
    const std::string expected =
        "REM This option specifies which IP address to listen on for remote requests.\n"
        "REM This is also used for multi-home setups to specify the IP address the game server should listen to.\n"
        "ServerIP=10.0.0.5\n\n"
        "REM This option specifies which port to use for the Remote Control server.\n"
        "RemoteControlServerPort=49310\n\n"
        "REM To override the current field replace MD5Password= with Password=<YourNewPassword>\n"
        "MD5Password=" +
        md5Hex("Gatepost") +
        "\n\n"
        "REM This field specifies the administrator's name used to log in to the remote control.\n"
        "AdminName=Boss\n\n"
        "REM If you have not registered your server at " +
        host +
        " please leave the \"HonorServerXXX\" fields blank.\n"
        "REM This field specifies the honor server user name you have registered at " +
        host +
        ".\n"
        "HonorServerUserName=\n\n"
        "REM This field specifies the honor server password you have registered at " +
        host +
        ".\n"
        "HonorServerPassword=\n\n"
        "REM This field specifies the honor server IP address you have registered at " +
        host +
        ".\n"
        "HonorServerIP=\n\n"
        "REM This field sets the active server setup configuration file to use on startup.\n"
        "ActiveControlFile=Duel.Control\n\n"
        "REM The following option lets you specify the complete path to the game server's installation directory "
        "(typically \"C:\\Korvane\").\n"
        "GameServerPath=/opt/Korvane\n\n"
        "REM This field specifies the maximum number of K that the log window will use to hold log information.\n"
        "MaxConsoleLoggingRAMInK=2000\n\n"
        "REM This option enables creating a running log file of all server output.\n"
        "CreateRunningLog=1\n\n"
        "REM If you would like to display server memory usage set the following to 1\n"
        "ShowMemoryUsage=1\n\n"
        "REM Next field logs memory usage to a log file if set to 1\n"
        "CreateCSVMemoryLog=0\n\n"
        "REM This enables whether to automatically stop and restart the server each day at a specified time\n"
        "TimedAutoRestartServer=0\n\n"
        "REM Next field specifies when the server will be automatically restarted (time is in minutes\n\n"
        "REM so 2 AM would be 120 minutes from midnight, 3 AM 180 minutes from midnight, and so forth)\n"
        "TimeOfDayInMinutesToRestartServer=180\n";
    EXPECT_EQ(text, expected);
}

TEST(SettingsFile, RoundTripKeepsEveryField) {
    AgentSettings s = AgentSettings::defaults();
    s.serverIp = "192.168.1.20";
    s.remoteControlServerPort = 5000;
    s.md5Password = md5Hex("x");
    s.adminName = "Ops";
    s.honorServerUserName = "user";
    s.honorServerPassword = "pw with blanks ";
    s.honorServerIp = "1.2.3.4";
    s.activeControlFile = "A b.Control";
    s.gameServerPath = "/srv/game";
    s.maxConsoleLoggingRamInK = 7;
    s.createRunningLog = false;
    s.showMemoryUsage = true;
    s.createCsvMemoryLog = true;
    s.timedAutoRestartServer = true;
    s.timeOfDayInMinutesToRestartServer = 95;
    AgentSettings back = AgentSettings::defaults();
    settings_file::parse(settings_file::render(s), back);
    EXPECT_EQ(back, s);
}

TEST(SettingsFile, KeysIgnoreCaseAndLaterLinesWinAndJunkIsIgnored) {
    AgentSettings s = AgentSettings::defaults();
    settings_file::parse("adminname=first\r\n"
                         "garbage line without key\n"
                         "\x01\x02\xff binary=junk\n"
                         "ADMINNAME=second\n"
                         "RemoteControlServerPort=abc\n"
                         "MaxConsoleLoggingRAMInK=  -12xyz\n"
                         "CreateRunningLog=0\n"
                         "TimedAutoRestartServer= 1\n"
                         "ServerIP= 10.1.1.1 \n"
                         "HonorServerIP=5.5.5.5\n",
                         s);
    EXPECT_EQ(s.adminName, "second");
    EXPECT_EQ(s.remoteControlServerPort, 0); // no digits gives 0
    EXPECT_EQ(s.maxConsoleLoggingRamInK, -12);
    EXPECT_FALSE(s.createRunningLog);
    EXPECT_TRUE(s.timedAutoRestartServer);
    EXPECT_EQ(s.serverIp, " 10.1.1.1 ");   // values are not trimmed
    EXPECT_EQ(s.honorServerIp, "5.5.5.5"); // not taken by ServerIP=
}

TEST(SettingsFile, PlainPasswordBecomesItsDigestAndLeavesTheFileOnSave) {
    std::string dir = tempFolder();
    ASSERT_FALSE(dir.empty());
    std::string path = joinPath(dir, "KVSMRC.ini");
    ASSERT_TRUE(writeFileAtomically(path, "AdminName=\npassword=S3cret word\n"));
    AgentSettings s = AgentSettings::defaults();
    ASSERT_EQ(settings_file::load(path, s), settings_file::LoadResult::Loaded);
    EXPECT_EQ(s.md5Password, md5Hex("S3cret word"));
    EXPECT_EQ(s.adminName, ""); // an empty value is a value
    ASSERT_TRUE(settings_file::save(path, s));
    std::string text = readFile(path).value_or("");
    EXPECT_NE(text.find("MD5Password=" + md5Hex("S3cret word") + "\n"), std::string::npos);
    EXPECT_EQ(text.find("\nPassword="), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(SettingsFile, LoadResetsTheDigestAndReportsAMissingFile) {
    std::string dir = tempFolder();
    AgentSettings s = AgentSettings::defaults();
    s.md5Password = "stale";
    s.activeControlFile = "FromCommandLine.Control";
    EXPECT_EQ(settings_file::load(joinPath(dir, "KVSMRC.ini"), s), settings_file::LoadResult::Missing);
    EXPECT_EQ(s.md5Password, md5Hex("Gatepost"));
    EXPECT_EQ(s.activeControlFile, "FromCommandLine.Control");

    // A file with an empty ActiveControlFile= overrides the command line.
    ASSERT_TRUE(writeFileAtomically(joinPath(dir, "KVSMRC.ini"), "ActiveControlFile=\n"));
    EXPECT_EQ(settings_file::load(joinPath(dir, "KVSMRC.ini"), s), settings_file::LoadResult::Loaded);
    EXPECT_EQ(s.activeControlFile, "");
    std::filesystem::remove_all(dir);
}

TEST(SettingsFile, HugeLinesAreReadInPiecesWithoutHarm) {
    // A key hidden behind 511 characters starts a new piece and is taken; the piece before it is junk.
    std::string text = std::string(511, 'x') + "AdminName=tail\n" + std::string(100000, 'y') + "\nServerIP=9.9.9.9\n";
    AgentSettings s = AgentSettings::defaults();
    settings_file::parse(text, s);
    EXPECT_EQ(s.adminName, "tail");
    EXPECT_EQ(s.serverIp, "9.9.9.9");
}

TEST(SettingsFile, ASaveIntoAMissingFolderFailsWithAReason) {
    std::string error;
    EXPECT_FALSE(settings_file::save("/nonexistent-kv-folder/KVSMRC.ini", AgentSettings::defaults(), &error));
    EXPECT_FALSE(error.empty());
}

TEST(SettingsFile, TheSavedFileIsReadableByItsOwnerAlone) {
    std::string dir = tempFolder();
    std::string path = joinPath(dir, "KVSMRC.ini");
    ASSERT_TRUE(writeFileAtomically(path, "AdminName=old\n"));
    ::chmod(path.c_str(), 0644); // as an older agent left it
    ASSERT_TRUE(settings_file::save(path, AgentSettings::defaults()));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::filesystem::remove_all(dir);
}

TEST(SettingsFile, AFailedSaveLeavesTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    std::string dir = tempFolder();
    std::string path = joinPath(dir, "KVSMRC.ini");
    ASSERT_TRUE(writeFileAtomically(path, "AdminName=old\n"));
    ::chmod(dir.c_str(), 0500);
    std::string error;
    EXPECT_FALSE(settings_file::save(path, AgentSettings::defaults(), &error));
    EXPECT_FALSE(error.empty());
    ::chmod(dir.c_str(), 0700);
    EXPECT_EQ(readFile(path).value_or(""), "AdminName=old\n");
    std::filesystem::remove_all(dir);
}

TEST(AgentOptions, DesignedSwitchesWithSlashOrDashAndOwnOptions) {
    AgentOptions o = parseAgentOptions({"/ShowFailures", "-ServerIP=10.0.0.1", "ControlFileName=My Setup.Control",
                                        "--headless", "--workdir", "/tmp/x", "--admin-port", "4000", "--stop-grace-ms",
                                        "50", "showfailures", "/Unknown"});
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_TRUE(o.showFailures);
    EXPECT_EQ(o.serverIp.value_or("?"), "10.0.0.1");
    EXPECT_EQ(o.controlFileName.value_or("?"), "My Setup.Control");
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.workDir, "/tmp/x");
    EXPECT_EQ(o.adminPort, 4000);
    EXPECT_EQ(o.stopGraceMs, 50);
    EXPECT_FALSE(o.userWorkDir);
}

TEST(AgentOptions, TheMenusPerUserWorkingFolderFollowsXdgDataHome) {
    EXPECT_TRUE(parseAgentOptions({"--user-workdir"}).userWorkDir);
    EXPECT_FALSE(parseAgentOptions({"--user-workdir", "--workdir", "/tmp/x"}).error.empty());
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string saved = data ? data : "", home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(userWorkFolder(), "/srv/data/KV Server Remote Control");
    ::setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored, as the XDG rules say
    ::setenv("HOME", "/home/admin", 1);
    EXPECT_EQ(userWorkFolder(), "/home/admin/.local/share/KV Server Remote Control");
    data ? ::setenv("XDG_DATA_HOME", saved.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", home.c_str(), 1);
}

TEST(AgentOptions, MalformedOptionsAreRefusedWithAReason) {
    EXPECT_FALSE(parseAgentOptions({"--workdir"}).error.empty());
    EXPECT_FALSE(parseAgentOptions({"--admin-port", "x"}).error.empty());
    EXPECT_FALSE(parseAgentOptions({"--admin-port", "70000"}).error.empty());
    EXPECT_FALSE(parseAgentOptions({"--cleanup-ms", "-5"}).error.empty());
    // Case matters for the designed switches.
    EXPECT_FALSE(parseAgentOptions({"/showfailures"}).showFailures);
}

TEST(SettingsFile, AValueThatWouldNotReadBackAsItselfIsNeverWritten) {
    const std::string folder = tempFolder();
    ASSERT_FALSE(folder.empty());
    const std::string path = joinPath(folder, "KVSMRC.ini");
    AgentSettings s = AgentSettings::defaults();
    ASSERT_TRUE(settings_file::save(path, s));
    const auto good = readFile(path);
    // Past the reader's 511 characters the rest would be a line of its own; so would anything after a line break.
    s.activeControlFile = std::string(511 - 18, 'a') + "Password=evil";
    std::string error;
    EXPECT_FALSE(settings_file::save(path, s, &error));
    EXPECT_FALSE(error.empty());
    s.activeControlFile = "x.Control\nPassword=evil";
    EXPECT_FALSE(settings_file::save(path, s));
    EXPECT_EQ(readFile(path), good);
    s.activeControlFile = std::string(511 - 18, 'a'); // the longest that reads back
    EXPECT_TRUE(settings_file::save(path, s));
    AgentSettings back = AgentSettings::defaults();
    ASSERT_EQ(settings_file::load(path, back), settings_file::LoadResult::Loaded);
    EXPECT_EQ(back.activeControlFile, s.activeControlFile);
    removeTree(folder);
}
