#include "tests/agent/service/ServiceFixture.h"
#include "tests/support/WaitUntil.h"

#include <gmock/gmock.h>
#include <unistd.h>

using kv::test::RawClient;
using kv::test::ServiceTest;
using testing::ElementsAre;

namespace {

TEST_F(ServiceTest, LinesBeforeLoginAreIgnoredWithoutReply) {
    RawClient c(listener->port());
    ASSERT_TRUE(c.connected());
    ASSERT_TRUE(c.send("GetStatus\nStartServer\n"));
    ASSERT_TRUE(c.login("aDmIn", "secret")); // the name in any letter case
    ASSERT_TRUE(c.send("GetRestartTime\n"));
    EXPECT_EQ(c.line(), "None"); // the first reply is this one: nothing answered the early lines
    EXPECT_TRUE(host.controlRequests().empty());
    EXPECT_TRUE(host.accessLines().empty());
}

TEST_F(ServiceTest, RejectedLoginsSayWhyInTheAccessLog) {
    RawClient wrongPassword(listener->port());
    ASSERT_TRUE(wrongPassword.send("Login\nAdmin\nSecret\n"));
    EXPECT_EQ(wrongPassword.verdict(), 0);
    EXPECT_EQ(wrongPassword.line(), "<closed>");
    RawClient wrongName(listener->port());
    ASSERT_TRUE(wrongName.send("Login\nRoot\nsecret\n"));
    EXPECT_EQ(wrongName.verdict(), 0);
    EXPECT_THAT(host.accessLines(), ElementsAre("Access Rejected from IP 127.0.0.1 (Bad PW):",
                                                "Access Rejected from IP 127.0.0.1 (Bad Admin Name):"));
}

TEST_F(ServiceTest, RequestsArePrefixesInAnyLetterCase) {
    host.history = {{1700000000, "history line", 5000}};
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("monitorfeed2\n"));
    EXPECT_THAT(c.line(), testing::EndsWith(" - history line"));
    ASSERT_TRUE(kv::test::waitUntil([&] { return host.currentFeed() != nullptr; }, std::chrono::seconds(5)));
    host.currentFeed()->deliver({1700000001, "live line", 0});
    EXPECT_THAT(c.line(), testing::EndsWith(" - live line"));
    host.currentFeed()->feedEnded(); // the run ends: so does the feed
    EXPECT_EQ(c.line(), "<closed>");
}

TEST_F(ServiceTest, TheFeedShowsMemoryWhenTheAgentDoesAndEndsWithoutARun) {
    host.settings_.showMemoryUsage = true;
    host.history = {{1700000000, "with memory", 5000}};
    host.runExists = false;
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("MonitorFeed\n"));
    EXPECT_THAT(c.line(), testing::EndsWith(" (5000K) - with memory"));
    EXPECT_EQ(c.line(), "<closed>");
}

TEST_F(ServiceTest, RestartTimeNoneEndsTheSessionAMinuteKeepsItAnythingElseEndsItUnchanged) {
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("SetRestartTime\n180\nGetRestartTime\n"));
    EXPECT_EQ(c.line(), "180");
    EXPECT_TRUE(host.settings().timedAutoRestartServer);
    ASSERT_TRUE(c.send("SetRestartTime\n5000\nStopServer\n"));
    EXPECT_EQ(c.line(), "<closed>");
    EXPECT_TRUE(host.settings().timedAutoRestartServer);
    EXPECT_EQ(host.settings().timeOfDayInMinutesToRestartServer, 180); // a minute outside the day is not taken
    EXPECT_TRUE(host.controlRequests().empty());                       // nor what came after it
    RawClient d(listener->port());
    ASSERT_TRUE(d.login());
    ASSERT_TRUE(d.send("SetRestartTime\nNone\n"));
    EXPECT_EQ(d.line(), "<closed>");
    EXPECT_FALSE(host.settings().timedAutoRestartServer);
    EXPECT_THAT(host.accessLines(),
                ElementsAre("KVSM Set Restart Time Request from IP 127.0.0.1", "Restart time passed was 180",
                            "KVSM Set Restart Time Request from IP 127.0.0.1",
                            "KVSM Set Restart Time Request from IP 127.0.0.1"));
}

TEST_F(ServiceTest, ARefusedConfigurationNameConsumesItsDescriptionAndAborts) {
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("UploadConfiguration\nbad.name\nLAN\nmap\n\n\nStopServer\n[EndDescription]\n"));
    EXPECT_EQ(c.line(), "[AbortSend]");
    ASSERT_TRUE(c.send("UploadServerSetupFile\n../escape\n"));
    EXPECT_EQ(c.line(), "[AbortSend]");
    EXPECT_TRUE(host.controlRequests().empty());
    EXPECT_FALSE(kv::fileExists(work("Configurations/bad.name.Control")));
}

TEST_F(ServiceTest, DescriptionEndsOnlyAtTheExactLineAndFilesAtTheirMarkerPrefix) {
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("UploadConfiguration\nCTF\nLAN\nHarbor.kvm\nadm\nplay\nA\n[EndDescription] more\n"
                       "[EndDescription]\n"));
    EXPECT_EQ(c.line(), "[SendConfig]");
    ASSERT_TRUE(c.send("[Engine]\n[EndOfConfigurationFile]\n"));
    EXPECT_EQ(c.line(), "[GoodSend]");
    EXPECT_EQ(kv::readFile(work("Configurations/CTF.Control")),
              "Name=CTF\nRunMode=LAN\nMap=Harbor.kvm\nIni=CTF.ini\nGamePlayerPassword=play\nGameAdminPassword=adm\n"
              "Description=A0xA[EndDescription] more0xA\n");
    EXPECT_EQ(kv::readFile(work("Configurations/CTF.ini")), "[Engine]\n");

    ASSERT_TRUE(c.send("UploadBanList\n"));
    EXPECT_EQ(c.line(), "[SendFile]");
    ASSERT_TRUE(c.send("1.2.3.4\n[endoffile] and more\n"));
    EXPECT_EQ(c.line(), "[GoodSend]");
    EXPECT_EQ(kv::readFile(game("System/KVSMBanList.txt")), "1.2.3.4\n");
}

TEST_F(ServiceTest, ABrokenUploadLeavesTheOldFile) {
    std::string banList = game("System/KVSMBanList.txt");
    ASSERT_TRUE(kv::writeFileAtomically(banList, "old list\n"));
    {
        RawClient c(listener->port());
        ASSERT_TRUE(c.login());
        ASSERT_TRUE(c.send("UploadBanList\n"));
        EXPECT_EQ(c.line(), "[SendFile]");
        ASSERT_TRUE(c.send("new line 1\nnew line 2\n"));
    } // the connection breaks off here
    ASSERT_TRUE(kv::test::waitUntil([&] { return listener->activeSessions() == 0; }, std::chrono::seconds(10)));
    EXPECT_EQ(kv::readFile(banList), "old list\n");
    EXPECT_EQ(kv::listDirectory(game("System")), (std::vector<std::string>{"KVSMBanList.txt", "pb"}));
}

TEST_F(ServiceTest, ActivateAndRemoveNeedANameAndToleratesAMissingIni) {
    ASSERT_TRUE(kv::writeFileAtomically(work("Configurations/Old.Control"), "Name=Old\n"));
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("ActivateConfiguration\n\nRemoveConfiguration\n../x\nGetRestartTime\n"));
    EXPECT_EQ(c.line(), "None"); // neither the empty nor the path name got an answer
    ASSERT_TRUE(c.send("RemoveConfiguration\nOld\nActivateConfiguration\nNew\n"));
    EXPECT_EQ(c.line(), "OK");
    EXPECT_EQ(c.line(), "OK");
    EXPECT_FALSE(kv::fileExists(work("Configurations/Old.Control")));
    EXPECT_EQ(host.settings().activeControlFile, "New.Control");
    EXPECT_THAT(host.controlRequests(), ElementsAre(false, true));
}

TEST_F(ServiceTest, ListsShowOnlyWhatBelongsInThem) {
    ASSERT_TRUE(kv::writeFileAtomically(work("Configurations/Lonely.Control"), "Name=Lonely\n"));
    ASSERT_TRUE(kv::writeFileAtomically(work("Configurations/CTF.Control"), "Name=CTF\nRunMode=LAN\nMap=Harbor"));
    ASSERT_TRUE(kv::writeFileAtomically(work("Configurations/CTF.ini"), "x"));
    ASSERT_TRUE(kv::writeFileAtomically(game("System/pb/svss/readme.txt"), "x"));
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("GetConfigurationList\n"));
    EXPECT_THAT(c.line(), testing::StartsWith("CTF,Harbor,LAN,")); // a last line without line feed keeps its end
    EXPECT_EQ(c.line(), "[EndOfList]");
    ASSERT_TRUE(c.send("GetPBScreenShotList\n"));
    EXPECT_EQ(c.line(), "[EndOfList]");
    EXPECT_EQ(c.line(), "<closed>");
}

TEST_F(ServiceTest, NamesWithPathPartsGetTheAnswerOfAMissingFile) {
    ASSERT_TRUE(kv::writeFileAtomically(work("secret.txt"), "do not send"));
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("DownloadServerSetupFile\n../secret\nDownloadPBOptionFile\n../../../work/secret\n"));
    EXPECT_EQ(c.line(), "0");
    EXPECT_EQ(c.line(), "0");
    ASSERT_TRUE(c.send("GetPBLogFile\n../../../../work/secret.txt\n"));
    EXPECT_EQ(c.line(), "0");
}

TEST_F(ServiceTest, EachRequestOfNoteLeavesOneAccessLogLineAndTheOthersNone) {
    ASSERT_TRUE(kv::writeFileAtomically(game("System/pb/pbsvgame.cfg"), "x\n"));
    struct Case {
        const char* exchange; // request, parameters and what the client sends after the ready marker
        int replyLines;       // lines the agent answers with
        const char* logged;   // the access log line, or null
    };
    const std::vector<Case> cases = {
        {"StartServer\n", 0, "KVSM Start Server Request from IP 127.0.0.1"},
        {"StopServer\n", 0, "KVSM Stop Server Request from IP 127.0.0.1"},
        {"GetStatus\n", 15, "KVSM Status Request from IP 127.0.0.1"},
        {"ActivateConfiguration\nCTF\n", 1, "KVSM Activate Configuration Request from IP 127.0.0.1"},
        {"RemoveConfiguration\nCTF\n", 1, "KVSM Remove Configuration Request from IP 127.0.0.1"},
        {"GetConfigurationList\n", 1, "KVSM Get Configuration List Request from IP 127.0.0.1"},
        {"UploadServerSetupFile\nCTF\n[EndOfServerSetupFile]\n", 2,
         "KVSM Upload Configuration Request from IP 127.0.0.1"},
        {"DownloadServerSetupFile\nnone\n", 1, "KVSM Upload Configuration Request from IP 127.0.0.1"},
        {"UploadConfiguration\nCTF\nLAN\nm\n\n\n[EndDescription]\n[EndOfConfigurationFile]\n", 2,
         "KVSM Upload Configuration Request from IP 127.0.0.1"},
        {"UploadBanList\n[EndOfFile]\n", 2, "KVSM Upload Configuration Request from IP 127.0.0.1"},
        {"UploadPBConfig\n[EndOfFile]\n", 2, "KVSM Upload PB Config from IP 127.0.0.1"},
        {"GetRestartTime\n", 1, nullptr},
        {"DownloadBanList\n", 1, nullptr},
        {"DownloadPBConfig\nNextBlock\n", 1, nullptr},
        {"DownloadPBOptionFile\nnone\n", 1, nullptr},
        {"UploadPBOptionFile\npbsv\n[EndOfFile]\n", 2, nullptr},
        {"QueryStatLogging\nDownloadConfiguration\n", 0, nullptr},
        {"GetPBCfgFiles\n", 1, "KVSM Get PB Cfg File List IP 127.0.0.1"},
    };
    for (const Case& c : cases) {
        RawClient client(listener->port());
        ASSERT_TRUE(client.login());
        std::size_t before = host.accessLines().size();
        ASSERT_TRUE(client.send(c.exchange));
        for (int i = 0; i < c.replyLines; ++i)
            client.line();
        // Answered only once the request is done (or the session closes after the requests that end it).
        ASSERT_TRUE(client.send("GetRestartTime\n"));
        client.line();
        std::vector<std::string> lines = host.accessLines();
        std::vector<std::string> added(lines.begin() + static_cast<long>(before), lines.end());
        if (c.logged) {
            EXPECT_THAT(added, ElementsAre(c.logged)) << c.exchange;
        } else {
            EXPECT_TRUE(added.empty()) << c.exchange;
        }
    }
}

TEST_F(ServiceTest, AFileTooLargeForTheSizeLineIsAnnouncedAsMinusOne) {
    std::string huge = game("System/pb/svss/huge.png");
    ASSERT_TRUE(kv::writeFileAtomically(huge, ""));
    ASSERT_EQ(::truncate(huge.c_str(), 3LL << 30), 0); // sparse: no disk is used
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("GetPBScreenShotFile\nhuge.png\n"));
    EXPECT_EQ(c.line(), "-1");
    EXPECT_EQ(c.line(), "<closed>");
}

class ServiceLimits : public ServiceTest {
protected:
    void SetUp() override {
        kv::agent::service::RemoteListener::Options options;
        options.maxLoggedIn = 1;
        options.limits.loginTimeout = std::chrono::milliseconds(300);
        ASSERT_TRUE(startListener(options));
    }
};

TEST_F(ServiceLimits, AConnectionThatDoesNotLogInIsDropped) {
    RawClient silent(listener->port());
    ASSERT_TRUE(silent.connected());
    EXPECT_TRUE(kv::test::waitUntil([&] { return listener->activeSessions() == 0; }, std::chrono::seconds(3)));
    EXPECT_EQ(silent.line(), "<closed>");
}

TEST_F(ServiceLimits, ALoginBeyondTheLoggedInPlacesIsRefusedUntilOneIsFree) {
    auto first = std::make_unique<RawClient>(listener->port());
    ASSERT_TRUE(first->login());
    RawClient second(listener->port());
    EXPECT_FALSE(second.connected() && second.login());
    EXPECT_THAT(host.accessLines(), ElementsAre("Access Rejected from IP 127.0.0.1 (Too Many Sessions):"));
    ASSERT_TRUE(first->send("Logout\n"));
    first.reset();
    ASSERT_TRUE(kv::test::waitUntil([&] { return listener->activeSessions() == 0; }, std::chrono::seconds(5)));
    RawClient third(listener->port());
    EXPECT_TRUE(third.login());
}

} // namespace
