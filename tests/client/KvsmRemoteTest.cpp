// kvsm remote, run as a program against a scripted agent: the command line, the password sources, the library
// loaded with dlopen beside the program, and the agent identities in the trust file.
#include "client/TrustStore.h"
#include "common/Files.h"
#include "common/Text.h"
#include "common/protocol/StatusRecord.h"
#include "tests/client/FakeAgent.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestIdentity.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using kv::test::FakeAgent;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

// The fake agent is trusted already, as a host would be after its first contact; the trust tests meet a stranger.
class KvsmRemoteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(kv::TrustStore(trustFile()).record("127.0.0.1", agent.port(), genuine)); }

    struct Result {
        int status = -1;
        std::string output;
        std::vector<std::string> lines;
    };

    // Every run pins agents in the test's own trust file, and a stray default would land in the test folder too.
    Result kvsm(std::vector<std::string> arguments,
                std::vector<std::pair<std::string, std::string>> environment = {{"KVSM_PASSWORD", "secret"}},
                const FakeAgent* peer = nullptr) {
        std::vector<std::string> command{KV_BIN_DIR "/kvsm", "remote"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        for (const char* option : {"--host", "--user", "--dir"}) {
            command.push_back(option);
            command.push_back(option == std::string("--host")   ? (peer ? peer : &agent)->address()
                              : option == std::string("--user") ? "admin"
                                                                : work.file("files"));
        }
        environment.emplace_back("XDG_DATA_HOME", work.file("data"));
        if (std::none_of(environment.begin(), environment.end(), [](auto& v) { return v.first == "KVSM_TRUST_FILE"; }))
            environment.emplace_back("KVSM_TRUST_FILE", trustFile());
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

    std::string trustFile() const { return work.file("known_agents"); }
    static int loginsOf(FakeAgent& peer) {
        std::lock_guard lock(peer.mutex());
        return peer.logins;
    }

    FakeAgent agent;
    kv::test::TempDir work;
    const std::string genuine = kv::test::testAgentIdentity().fingerprint;
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

TEST_F(KvsmRemoteTest, FirstContactIsRecordedWithANoticeAndAChangedIdentityIsRefused) {
    FakeAgent stranger;
    Result first = kvsm({"start"}, {{"KVSM_PASSWORD", "secret"}}, &stranger);
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_THAT(first.output,
                HasSubstr("first contact with " + stranger.address() + "; its identity (SHA-256 fingerprint " +
                          genuine + ") is now trusted and recorded in " + trustFile()));
    Result known = kvsm({"known"});
    EXPECT_EQ(known.status, 0);
    EXPECT_THAT(known.lines, testing::Contains(stranger.address() + "\t" + genuine + "\t" + kv::trustDateToday()));

    // Another identity where the genuine one was pinned: refused before the password, and said so plainly.
    FakeAgent impostor(kv::test::otherServerContext());
    ASSERT_TRUE(kv::TrustStore(trustFile()).record("127.0.0.1", impostor.port(), genuine));
    Result refused = kvsm({"status"}, {{"KVSM_PASSWORD", "secret"}}, &impostor);
    EXPECT_EQ(refused.status, 1);
    ASSERT_TRUE(impostor.waitForSessions(1));
    EXPECT_EQ(loginsOf(impostor), 0);
    EXPECT_THAT(refused.output, HasSubstr("WARNING: the identity of the agent at " + impostor.address() +
                                          " has changed; nothing was sent to it, not even the password."));
    EXPECT_THAT(refused.output,
                HasSubstr("  recorded on " + kv::trustDateToday() + " in " + trustFile() + ": " + genuine));
    EXPECT_THAT(refused.output, HasSubstr("kvsm remote trust " + impostor.address() + " --fingerprint"));
    EXPECT_THAT(refused.output, HasSubstr("status failed.\n"));
}

TEST_F(KvsmRemoteTest, TrustForgetAndKnownLookAfterTheTrustFileWithoutLoggingIn) {
    FakeAgent stranger;
    const std::string entry = stranger.address() + "\t" + genuine + "\t" + kv::trustDateToday();
    const std::string other =
        "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF";
    Result wrong = kvsm({"trust", stranger.address(), "--fingerprint", other});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_THAT(wrong.output, HasSubstr("given:     " + other + "\n  presented: " + genuine));

    // Without a terminal to ask on, nothing is recorded and the way with --fingerprint is shown.
    Result unasked = kvsm({"trust", stranger.address()});
    EXPECT_EQ(unasked.status, 1);
    EXPECT_THAT(unasked.output, HasSubstr("is not in the trust file " + trustFile() + ".\n  presented: " + genuine));
    EXPECT_THAT(unasked.output, HasSubstr("--fingerprint FINGERPRINT"));
    EXPECT_THAT(kvsm({"known"}).lines, testing::Not(testing::Contains(entry)));

    // Any form that `openssl x509 -fingerprint` or a user gives.
    std::string bare = kv::toLowerAscii(kv::replaceAll(genuine, ":", ""));
    Result right = kvsm({"trust", stranger.address(), "--fingerprint", "SHA256:" + bare});
    EXPECT_EQ(right.status, 0) << right.output;
    EXPECT_THAT(kvsm({"known"}).lines, testing::Contains(entry));
    EXPECT_THAT(kvsm({"trust", stranger.address()}).output, HasSubstr("is already trusted"));

    EXPECT_EQ(kvsm({"forget", stranger.address()}).status, 0);
    Result again = kvsm({"forget", stranger.address()});
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.output, HasSubstr("holds no entry for " + stranger.address()));
    EXPECT_THAT(kvsm({"known"}).lines, ElementsAre(agent.address() + "\t" + genuine + "\t" + kv::trustDateToday()));
    EXPECT_EQ(loginsOf(stranger), 0);
}

TEST_F(KvsmRemoteTest, KnownOnlyRefusesAnUnknownAgentUntilItIsTrusted) {
    FakeAgent stranger;
    Result refused = kvsm({"start", "--known-only"}, {{"KVSM_PASSWORD", "secret"}}, &stranger);
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.output, HasSubstr(stranger.address() + " is not in the trust file " + trustFile() +
                                          ", and --known-only refuses unknown agents; nothing was sent to it."));
    ASSERT_TRUE(stranger.waitForSessions(1));
    EXPECT_EQ(loginsOf(stranger), 0);

    ASSERT_EQ(kvsm({"trust", stranger.address(), "--fingerprint", genuine}).status, 0);
    Result accepted = kvsm({"start", "--known-only"}, {{"KVSM_PASSWORD", "secret"}}, &stranger);
    EXPECT_EQ(accepted.status, 0) << accepted.output;
    EXPECT_EQ(loginsOf(stranger), 1);
}

TEST_F(KvsmRemoteTest, UsageMistakesAndAMissingLibraryAreReported) {
    EXPECT_EQ(kvsm({"explode"}).status, 2);
    EXPECT_EQ(kvsm({"trust", "a b:49310"}).status, 2);
    EXPECT_EQ(kvsm({"trust", agent.address(), "--fingerprint", "AB:CD"}).status, 2);
    EXPECT_EQ(kvsm({"status", "--fingerprint", genuine}).status, 2);
    EXPECT_EQ(kvsm({"activate"}).status, 2);
    EXPECT_EQ(kvsm({"upload-config", "a.ini", "CTF", "--run-mode", "SOLO", "--map", "m"}).status, 2);
    Result missing = kvsm({"start", "--library", "/nonexistent/libkvsm-remote-control.so"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.output, HasSubstr("cannot load the remote control library"));
}

} // namespace
