// kvagent --headless as a service runs it: a separate process against the simulator.
#include "agent/AgentLog.h"
#include "agent/SettingsFile.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/LocalTime.h"
#include "common/Md5.h"
#include "common/Text.h"

#include "tests/agent/AgentTestHost.h"
#include "tests/support/FreePort.h"
#include "tests/support/Processes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <regex>
#include <sys/stat.h>

using namespace kv;
using namespace kv::agent;
using namespace std::chrono_literals;

namespace {

const std::string kAgent = std::string(KV_BIN_DIR) + "/kvagent";

class Headless : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.ok()) << host.error(); }

    bool start(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {kAgent,
                                         "--headless",
                                         "--workdir",
                                         host.workFolder(),
                                         "--admin-port",
                                         std::to_string(host.adminPort()),
                                         "--cleanup-ms",
                                         "300",
                                         "--stop-grace-ms",
                                         "300"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::string error;
        bool ok = agent.start(args, {}, {}, &error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }

    std::optional<int> terminate() {
        agent.process().signalGroup(SIGTERM);
        return agent.waitForExit(15s);
    }

    // The game server that the agent runs, once it runs.
    pid_t serverPid() {
        auto children = test::childrenOf(agent.process().pid());
        return children.size() == 1 ? children.front() : -1;
    }

    std::string mapsOfAgent() {
        return readFile("/proc/" + std::to_string(agent.process().pid()) + "/maps").value_or("");
    }

    test::AgentTestHost host;
    test::ProgramRun agent;
};

} // namespace

TEST_F(Headless, StartsTheServerWithTheDesignedCommandLineAndStopsItOnSigterm) {
    AgentSettings settings = host.settings();
    ASSERT_TRUE(host.writeSettings(settings));
    // A hand-written plain password replaces the digest and leaves the file at the next save.
    std::string text = host.readWork("KVSMRC.ini");
    text = std::regex_replace(text, std::regex("MD5Password=[0-9a-f]*"), "PASSWORD=Open Sesame");
    ASSERT_TRUE(writeFileAtomically(joinPath(host.workFolder(), "KVSMRC.ini"), text));

    ASSERT_TRUE(start());
    ASSERT_TRUE(agent.waitForLine("Server Status: Running", 15s)) << agent.output();

    const std::string debug = host.readWork("DEBUG.txt");
    const std::regex expected("Command Line: " + host.gameFolder() +
                              "/System/server\\.bin GLOBAL Harbor\\.kvo log=\"Duel \\d+-\\d+-\\d{4} at "
                              "\\d+-\\d\\d-\\d\\d\\.log\" ini=\"" +
                              host.workFolder() + "/Configurations/Duel\\.ini\"    \n");
    EXPECT_TRUE(std::regex_match(debug, expected)) << debug;
    EXPECT_TRUE(agent.hasLine("Server Command: " + debug.substr(14, debug.size() - 15)));

    auto status = terminate();
    ASSERT_TRUE(status.has_value()) << agent.output();
    EXPECT_EQ(*status, 0);

    // The server was asked through its admin port and is gone: its admin port is free again.
    const std::string log = host.agentLogText();
    EXPECT_NE(log.find("Transmitted shutdown command result 9\n"), std::string::npos) << log;

    // Settings were saved at exit: digest of the plain password, no Password= line, everything else kept.
    AgentSettings back = AgentSettings::defaults();
    ASSERT_EQ(settings_file::load(joinPath(host.workFolder(), "KVSMRC.ini"), back), settings_file::LoadResult::Loaded);
    EXPECT_EQ(back.md5Password, md5Hex("Open Sesame"));
    settings.md5Password = back.md5Password;
    EXPECT_EQ(back, settings);
    EXPECT_EQ(host.readWork("KVSMRC.ini"), settings_file::render(settings));

    // Log files by name: the agent's daily log and the run's running log.
    EXPECT_FALSE(host.readWork(AgentLog::fileNameFor(currentSeconds())).empty());
    EXPECT_NE(host.serverLog("Duel Server Log File at "), "");
}

TEST_F(Headless, FirstRunHandsARandomPasswordOverInAnOwnerOnlyFileAndSetPasswordChangesIt) {
    host.controlFile("Duel", "Harbor.kvo");
    const std::string passwordFile = joinPath(host.workFolder(), "kvagent-initial-password");
    ASSERT_TRUE(writeFileAtomically(passwordFile, "left from an earlier install\n")); // readable by all: replaced
    ASSERT_TRUE(start({"/ServerIP=127.0.0.1", "-ControlFileName=Nothing.Control"}));
    auto line = agent.waitForLine("Administrator password file: ", 10s);
    ASSERT_TRUE(line.has_value()) << agent.output();
    EXPECT_EQ(line->substr(line->find(": ") + 2), passwordFile);
    const std::string content = readFile(passwordFile).value_or("");
    ASSERT_EQ(content.size(), 17u) << content;
    EXPECT_EQ(content.back(), '\n');
    const std::string password = content.substr(0, 16);
    struct stat info {};
    ASSERT_EQ(::stat(passwordFile.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_TRUE(agent.hasLine("Administrator name: Admin"));
    ASSERT_TRUE(agent.waitForLine("Server Status: Stopped - Invalid Configuration", 10s)) << agent.output();
    EXPECT_EQ(agent.output().find(password), std::string::npos) << "the password was printed";
    EXPECT_FALSE(agent.hasLine("Remote logins are refused")); // the random password is a usable one
    EXPECT_EQ(terminate().value_or(-1), 0);

    AgentSettings s = AgentSettings::defaults();
    ASSERT_EQ(settings_file::load(joinPath(host.workFolder(), "KVSMRC.ini"), s), settings_file::LoadResult::Loaded);
    EXPECT_EQ(s.md5Password, md5Hex(password));
    EXPECT_EQ(s.serverIp, "127.0.0.1"); // the switches count while no file exists
    EXPECT_EQ(s.activeControlFile, "Nothing.Control");

    auto setPassword = [&](const std::string& input) {
        test::ProgramRun set;
        EXPECT_TRUE(set.start({kAgent, "--set-password", "--workdir", host.workFolder()}));
        EXPECT_EQ(::write(set.process().inputFd(), input.data(), input.size()), static_cast<ssize_t>(input.size()));
        set.process().closeInput();
        return set.waitForExit(10s).value_or(-1);
    };
    // Refused, changing nothing: empty, the default, and longer than a login can carry.
    for (const std::string& refused : {std::string(), std::string("Gatepost\n"), std::string(63, 'x') + "\n"}) {
        EXPECT_EQ(setPassword(refused), 1) << refused;
        ASSERT_EQ(settings_file::load(joinPath(host.workFolder(), "KVSMRC.ini"), s), settings_file::LoadResult::Loaded);
        EXPECT_EQ(s.md5Password, md5Hex(password));
    }
    EXPECT_TRUE(fileExists(passwordFile));
    EXPECT_EQ(setPassword(std::string(62, 'x') + "\n"), 0);
    ASSERT_EQ(settings_file::load(joinPath(host.workFolder(), "KVSMRC.ini"), s), settings_file::LoadResult::Loaded);
    EXPECT_EQ(s.md5Password, md5Hex(std::string(62, 'x')));
    EXPECT_EQ(s.serverIp, "127.0.0.1");
    EXPECT_FALSE(fileExists(passwordFile)); // it held a password that no longer logs in
}

TEST_F(Headless, WithTheDefaultPasswordItSaysOnceInBothLogsThatRemoteLoginsAreRefused) {
    AgentSettings settings = host.settings(); // the default password
    settings.activeControlFile.clear();
    settings.serverIp = "127.0.0.1";
    settings.remoteControlServerPort = test::freeTcpPort();
    ASSERT_TRUE(host.writeSettings(settings));
    ASSERT_TRUE(start());
    const std::string warning = "Remote logins are refused: no administrator password is set (or it is the well-known "
                                "default). Set one in the Options dialog, or stop the agent and run kvagent "
                                "--set-password.";
    ASSERT_TRUE(agent.waitForLine(warning, 10s)) << agent.output();
    EXPECT_EQ(terminate().value_or(-1), 0);
    const auto lines = agent.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.ends_with(warning); }), 1);
    EXPECT_NE(host.agentLogText().find(" - " + warning + "\n"), std::string::npos) << host.agentLogText();
}

TEST_F(Headless, ACrashingServerIsCountedAndStartedAgain) {
    ASSERT_TRUE(host.simulator({{"KVSIM_CRASH_AFTER", "0.5"}}));
    ASSERT_TRUE(host.writeSettings(host.settings()));
    ASSERT_TRUE(start({"/ShowFailures"}));
    ASSERT_TRUE(agent.waitForLine("Server Failures: 1", 15s)) << agent.output();
    ASSERT_TRUE(agent.waitForLine("Server Status: Starting", 15s)) << agent.output();
    EXPECT_EQ(terminate().value_or(-1), 0);
}

TEST_F(Headless, TheServerDiesWithTheAgentEvenWhenTheAgentIsKilled) {
    ASSERT_TRUE(host.writeSettings(host.settings()));
    ASSERT_TRUE(start());
    ASSERT_TRUE(agent.waitForLine("Server Status: Running", 15s)) << agent.output();
    const pid_t server = serverPid();
    ASSERT_GT(server, 0);
    agent.process().signalGroup(SIGKILL); // the agent's group only: the server has a group of its own
    ASSERT_TRUE(agent.waitForExit(10s).has_value());
    EXPECT_TRUE(test::waitUntil([&] { return test::processGone(server); }, 10s)) << "the server was left behind";
}

TEST_F(Headless, SighupSavesTheSettingsAndStopsTheServerLikeSigterm) {
    const AgentSettings settings = host.settings();
    ASSERT_TRUE(host.writeSettings(settings));
    const std::string path = joinPath(host.workFolder(), "KVSMRC.ini");
    ASSERT_TRUE(writeFileAtomically(path, host.readWork("KVSMRC.ini") + "REM a note that the next save drops\n"));
    ASSERT_TRUE(start());
    ASSERT_TRUE(agent.waitForLine("Server Status: Running", 15s)) << agent.output();
    const pid_t server = serverPid();
    ASSERT_GT(server, 0);
    ::kill(agent.process().pid(), SIGHUP);
    EXPECT_EQ(agent.waitForExit(15s).value_or(-1), 0) << agent.output();
    EXPECT_TRUE(test::processGone(server));
    EXPECT_NE(host.agentLogText().find("Transmitted shutdown command result 9\n"), std::string::npos);
    EXPECT_EQ(host.readWork("KVSMRC.ini"), settings_file::render(settings));
}

TEST_F(Headless, SettingsThatCannotBeSavedAtExitGiveAFailureStatus) {
    AgentSettings settings = host.settings();
    settings.activeControlFile.clear();
    ASSERT_TRUE(host.writeSettings(settings));
    ASSERT_TRUE(start());
    ASSERT_TRUE(agent.waitForLine("Server Status: ", 10s)) << agent.output();
    // A folder in the file's place cannot be replaced by a rename, whoever we are (root passes permission checks).
    const std::string path = joinPath(host.workFolder(), "KVSMRC.ini");
    ASSERT_TRUE(removeFile(path));
    ASSERT_TRUE(makeDirectories(path));
    EXPECT_EQ(terminate().value_or(0), 1) << agent.output();
    EXPECT_TRUE(agent.hasLine(settings_file::kSaveFailedText)) << agent.output();
    EXPECT_NE(host.agentLogText().find(settings_file::kSaveFailedText), std::string::npos);
}

TEST_F(Headless, BadSettingsAndAMissingMapLeaveTheAgentRunning) {
    host.controlFile("Duel", "Gone.kvo");
    std::string junk = "\x01\x02 junk\n" + std::string(70000, 'j') + "\nGameServerPath=" + host.gameFolder() +
                       "\nActiveControlFile=Duel.Control\nRemoteControlServerPort=not a number\n";
    ASSERT_TRUE(writeFileAtomically(joinPath(host.workFolder(), "KVSMRC.ini"), junk));
    ASSERT_TRUE(start());
    ASSERT_TRUE(
        agent.waitForLine("Invalid Configuration, map \"" + host.gameFolder() + "/Maps/Gone.kvo\" not found", 10s))
        << agent.output();
    ASSERT_TRUE(agent.waitForLine("Server Status: Stopped - Invalid Configuration", 10s));
    EXPECT_TRUE(agent.process().running());
    EXPECT_EQ(terminate().value_or(-1), 0);
    AgentSettings s = AgentSettings::defaults();
    settings_file::load(joinPath(host.workFolder(), "KVSMRC.ini"), s);
    EXPECT_EQ(s.remoteControlServerPort, 0);
    EXPECT_EQ(s.gameServerPath, host.gameFolder());
}

TEST_F(Headless, MalformedOptionsAreRefusedBeforeAnythingIsWritten) {
    for (std::vector<std::string> args :
         {std::vector<std::string>{kAgent, "--headless", "--admin-port", "x"},
          std::vector<std::string>{kAgent, "--headless", "--workdir"},
          std::vector<std::string>{kAgent, "--headless", "--workdir", host.workFolder() + "/missing"}}) {
        test::ProgramRun run;
        ASSERT_TRUE(run.start(args, {}, host.workFolder()));
        EXPECT_EQ(run.waitForExit(10s).value_or(0), 2) << run.output();
    }
    EXPECT_FALSE(fileExists(joinPath(host.workFolder(), "KVSMRC.ini")));
}

TEST_F(Headless, MapsNoWindowLibraries) {
    ASSERT_TRUE(host.writeSettings(host.settings()));
    ASSERT_TRUE(start());
    ASSERT_TRUE(agent.waitForLine("Server Status: Running", 15s)) << agent.output();
    const std::string maps = mapsOfAgent();
    EXPECT_NE(maps.find("libQt6Core"), std::string::npos) << maps;
    EXPECT_EQ(maps.find("libQt6Widgets"), std::string::npos) << maps;
    EXPECT_EQ(maps.find("libQt6Gui"), std::string::npos) << maps;
    EXPECT_EQ(maps.find("kvagent-ui.so"), std::string::npos) << maps;
    EXPECT_EQ(terminate().value_or(-1), 0) << agent.output();
}

TEST_F(Headless, WithoutHeadlessTheWindowComesFromItsModule) {
    ASSERT_TRUE(host.writeSettings(host.settings()));
    ASSERT_TRUE(agent.start({kAgent, "--workdir", host.workFolder(), "--admin-port", std::to_string(host.adminPort()),
                             "--cleanup-ms", "300", "--stop-grace-ms", "300"},
                            {{"QT_QPA_PLATFORM", "offscreen"}}));
    // The server starts once the window is up and SIGTERM is handled.
    ASSERT_TRUE(test::waitUntil([&] { return !host.readWork("DEBUG.txt").empty(); }, 30s)) << agent.output();
    const std::string maps = mapsOfAgent();
    EXPECT_NE(maps.find("/kvagent-ui.so"), std::string::npos) << maps;
    EXPECT_NE(maps.find("libQt6Widgets"), std::string::npos) << maps;
    EXPECT_EQ(terminate().value_or(-1), 0) << agent.output();
    // SIGTERM closed the window the designed way: the server was stopped through its admin port.
    EXPECT_NE(host.agentLogText().find("Created shutdown socket\n"), std::string::npos) << host.agentLogText();
}

TEST_F(Headless, AMissingWindowModuleIsReportedAndHeadlessStillRunsAndAnInstalledOneIsFound) {
    // kvagent alone in <prefix>/bin, as a service install would copy it.
    const std::string folder = joinPath(host.workFolder(), "bin");
    const std::string copy = joinPath(folder, "kvagent");
    const auto program = readFile(kAgent);
    ASSERT_TRUE(program.has_value());
    ASSERT_TRUE(makeDirectories(folder));
    ASSERT_TRUE(writeFileAtomically(copy, *program));
    ASSERT_EQ(::chmod(copy.c_str(), 0755), 0);
    ASSERT_TRUE(host.writeSettings(host.settings()));

    test::ProgramRun windowed;
    ASSERT_TRUE(windowed.start({copy, "--workdir", host.workFolder()}, {{"QT_QPA_PLATFORM", "offscreen"}}));
    EXPECT_EQ(windowed.waitForExit(15s).value_or(-1), 2) << windowed.output();
    EXPECT_TRUE(windowed.hasLine("the window module kvagent-ui.so was not found")) << windowed.output();
    const std::string installed = joinPath(host.workFolder(), "lib/kv-server-manager/kvagent-ui.so");
    EXPECT_TRUE(windowed.hasLine(joinPath(folder, "kvagent-ui.so"))) << windowed.output();
    EXPECT_TRUE(windowed.hasLine(installed)) << windowed.output();
    EXPECT_TRUE(windowed.hasLine("kvagent --headless")) << windowed.output();

    test::ProgramRun headless;
    ASSERT_TRUE(headless.start({copy, "--headless", "--workdir", host.workFolder(), "--admin-port",
                                std::to_string(host.adminPort()), "--cleanup-ms", "300", "--stop-grace-ms", "300"}));
    ASSERT_TRUE(headless.waitForLine("Server Status: Running", 15s)) << headless.output();
    headless.process().signalGroup(SIGTERM);
    EXPECT_EQ(headless.waitForExit(15s).value_or(-1), 0) << headless.output();

    // The package's layout: the module in <prefix>/lib/kv-server-manager (a copy, so that the maps name it).
    const auto module = readFile(std::string(KV_BIN_DIR) + "/kvagent-ui.so");
    ASSERT_TRUE(module.has_value());
    ASSERT_TRUE(makeDirectories(std::string(dirName(installed))) && writeFileAtomically(installed, *module));
    const std::size_t logged = host.readWork("DEBUG.txt").size();
    ASSERT_TRUE(agent.start({copy, "--workdir", host.workFolder(), "--admin-port", std::to_string(host.adminPort()),
                             "--cleanup-ms", "300", "--stop-grace-ms", "300"},
                            {{"QT_QPA_PLATFORM", "offscreen"}}));
    ASSERT_TRUE(test::waitUntil([&] { return host.readWork("DEBUG.txt").size() > logged; }, 30s)) << agent.output();
    EXPECT_NE(mapsOfAgent().find(installed), std::string::npos) << mapsOfAgent();
    EXPECT_EQ(terminate().value_or(-1), 0) << agent.output();
}

TEST_F(Headless, KeepsItsOwnIdentityAndPrintsItsFingerprint) {
    auto run = [&](const std::vector<std::string>& args) {
        test::ProgramRun command;
        std::vector<std::string> full = {kAgent, "--workdir", host.workFolder()};
        full.insert(full.end(), args.begin(), args.end());
        EXPECT_TRUE(command.start(full));
        EXPECT_EQ(command.waitForExit(20s).value_or(-1), 0) << command.output();
        return command.output();
    };
    // The first look makes the identity; later looks and the service present the same one.
    const std::string fingerprint = std::string(chompLineBreak(run({"--fingerprint"})));
    ASSERT_EQ(fingerprint.size(), 95u) << fingerprint;
    const std::string identityFile = joinPath(host.workFolder(), "kvagent-identity.pem");
    struct stat st {};
    ASSERT_EQ(::stat(identityFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(chompLineBreak(run({"--fingerprint"})), fingerprint);

    ASSERT_TRUE(host.writeSettings(host.settings()));
    ASSERT_TRUE(start());
    EXPECT_TRUE(agent.waitForLine("Agent identity, SHA-256 fingerprint " + fingerprint, 10s)) << agent.output();
    EXPECT_EQ(terminate().value_or(-1), 0);

    EXPECT_NE(run({"--new-identity"}).find("kvsm remote trust"), std::string::npos);
    const std::string renewed = std::string(chompLineBreak(run({"--fingerprint"})));
    EXPECT_EQ(renewed.size(), 95u);
    EXPECT_NE(renewed, fingerprint);

    // A damaged identity is never silently replaced: the agent says so and serves no remote requests.
    ASSERT_TRUE(writeFileAtomically(identityFile, "damaged\n"));
    test::ProgramRun look;
    ASSERT_TRUE(look.start({kAgent, "--workdir", host.workFolder(), "--fingerprint"}));
    EXPECT_EQ(look.waitForExit(20s).value_or(0), 1);
    EXPECT_NE(look.output().find("kvagent --new-identity"), std::string::npos) << look.output();
    EXPECT_EQ(readFile(identityFile), "damaged\n");
}
