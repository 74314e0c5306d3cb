// kvsm remote, run as a program against a scripted agent: the command line, the password sources and the library
// loaded with dlopen beside the program.
#include "common/Files.h"
#include "common/protocol/StatusRecord.h"
#include "tests/client/FakeAgent.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using kv::test::FakeAgent;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

class KvsmRemoteTest : public ::testing::Test {
protected:
    struct Result {
        int status = -1;
        std::string output;
        std::vector<std::string> lines;
    };

    Result kvsm(std::vector<std::string> arguments,
                std::vector<std::pair<std::string, std::string>> environment = {{"KVSM_PASSWORD", "secret"}}) {
        std::vector<std::string> command{KV_BIN_DIR "/kvsm", "remote"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        for (const char* option : {"--host", "--user", "--dir"}) {
            command.push_back(option);
            command.push_back(option == std::string("--host")   ? agent.address()
                              : option == std::string("--user") ? "admin"
                                                                : work.file("files"));
        }
        kv::test::ProgramRun run;
        Result result;
        std::string error;
        if (!run.start(command, environment, work.path(), &error)) {
            ADD_FAILURE() << error;
            return result;
        }
        result.status = run.waitForExit(std::chrono::seconds(30)).value_or(-1);
        result.output = run.output();
        result.lines = run.lines();
        return result;
    }

    FakeAgent agent;
    kv::test::TempDir work;
};

TEST_F(KvsmRemoteTest, StatusPrintsTheRecord) {
    kv::protocol::StatusRecord record;
    record.status = "Running";
    record.setupName = "CTF";
    record.mapFile = "Harbor.kvm";
    record.totalUpTimeMinutes = 61;
    record.serverCrashes = -1;
    record.description = "Friday league";
    {
        std::lock_guard lock(agent.mutex());
        agent.statusRecord = kv::protocol::formatStatusRecord(record);
    }
    Result r = kvsm({"status"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_THAT(r.output, HasSubstr("Status: Running\nSetup: CTF\nMap: Harbor.kvm\nUp time: 1h 1m\n"
                                    "Crashes: not counted\n"));
    EXPECT_THAT(r.output, HasSubstr("Description:\n  Friday league\n"));
}

TEST_F(KvsmRemoteTest, AWrongPasswordFailsWithTheLastStep) {
    Result r = kvsm({"start"}, {{"KVSM_PASSWORD", "wrong"}});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.output, HasSubstr("start failed (last step: Logging in to Server Remote Control Utility...)"));
}

TEST_F(KvsmRemoteTest, ThePasswordComesFromAFileButNeverFromTheCommandLine) {
    std::string file = work.write("pw", "secret\n");
    Result fromFile = kvsm({"start", "--password-file", file}, {});
    EXPECT_EQ(fromFile.status, 0) << fromFile.output;
    Result onCommandLine = kvsm({"start", "--password", "secret"});
    EXPECT_EQ(onCommandLine.status, 2);
    EXPECT_THAT(onCommandLine.output, HasSubstr("Unknown option --password"));
}

TEST_F(KvsmRemoteTest, ListsAndFilesGoThroughTheLibrary) {
    {
        std::lock_guard lock(agent.mutex());
        agent.configurationList = {"CTF,Harbor,LAN,0"};
        agent.files["setup/CTF"] = "m_csName=CTF\r\n";
        agent.optionFileList = {"pbsv.cfg,0,120"};
    }
    Result list = kvsm({"setups"});
    EXPECT_EQ(list.status, 0) << list.output;
    ASSERT_EQ(list.lines.size(), 1u);
    EXPECT_THAT(list.lines[0], testing::StartsWith("CTF\tHarbor\tLAN\t"));
    Result options = kvsm({"pb-files"});
    EXPECT_THAT(options.lines.at(0), testing::StartsWith("pbsv.cfg\t120\t"));

    Result download = kvsm({"download-setup", "CTF"});
    EXPECT_EQ(download.status, 0) << download.output;
    EXPECT_EQ(kv::readFile(work.file("files/Server Setups/CTF.ServerConfig")), "m_csName=CTF\r\n");

    work.write("bans.txt", "1.2.3.4\n");
    Result upload = kvsm({"upload-bans", "bans.txt"}); // relative to where kvsm started, not to --dir
    EXPECT_EQ(upload.status, 0) << upload.output;
    std::lock_guard lock(agent.mutex());
    EXPECT_EQ(agent.files["ban"], "1.2.3.4\n");
}

TEST_F(KvsmRemoteTest, RestartTimesAreCheckedAndConverted) {
    EXPECT_EQ(kvsm({"set-restart", "03:00"}).status, 0);
    EXPECT_EQ(kvsm({"set-restart", "none"}).status, 0);
    EXPECT_EQ(kvsm({"set-restart", "24:00"}).status, 2);
    EXPECT_EQ(kvsm({"set-restart", "1440"}).status, 2);
    ASSERT_TRUE(agent.waitForSessions(2));
    std::lock_guard lock(agent.mutex());
    EXPECT_THAT(agent.parameters, ElementsAre("180", "None"));
}

TEST_F(KvsmRemoteTest, TheFeedPrintsEachLineAndItsEnd) {
    {
        std::lock_guard lock(agent.mutex());
        agent.feedLines = {"3/9/2026-7:05:04 - Game engine initialized\r\n"};
    }
    Result r = kvsm({"feed"});
    EXPECT_EQ(r.status, 0) << r.output;
    ASSERT_EQ(r.lines.size(), 3u) << r.output;
    EXPECT_EQ(r.lines[0], "3/9/2026-7:05:04 - Game engine initialized");
    EXPECT_THAT(r.lines[1], HasSubstr(" - Connection to server broken"));
    EXPECT_THAT(r.lines[2], HasSubstr(" - Ending monitoring thread"));
}

TEST_F(KvsmRemoteTest, UsageMistakesAndAMissingLibraryAreReported) {
    EXPECT_EQ(kvsm({"explode"}).status, 2);
    EXPECT_EQ(kvsm({"activate"}).status, 2);
    EXPECT_EQ(kvsm({"upload-config", "a.ini", "CTF", "--run-mode", "SOLO", "--map", "m"}).status, 2);
    Result missing = kvsm({"start", "--library", "/nonexistent/libkvsm-remote-control.so"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.output, HasSubstr("cannot load the remote control library"));
}

} // namespace
