// The client library's operations against the agent's service, one live session each.
#include "client/CServerRemoteControl.h"
#include "common/protocol/OptionFileCopy.h"
#include "tests/agent/service/ServiceFixture.h"
#include "tests/support/WaitUntil.h"

#include <gmock/gmock.h>

using kv::test::ServiceTest;
using testing::ElementsAre;
using testing::StartsWith;

namespace {

class ClientAgainstServiceTest : public ServiceTest {
protected:
    std::unique_ptr<kv::CServerRemoteControl> client(const std::string& password = "secret") {
        kv::RemoteControlOptions options;
        options.localFolder = local.path();
        options.context = kv::test::testClientContext();
        options.trust = kv::TrustSettings{trustFolder.file("known_agents")};
        return std::make_unique<kv::CServerRemoteControl>(address(), "admin", password, options);
    }
    std::string bytesOf(std::size_t size) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 13 % 256);
        return bytes;
    }
    kv::test::TempDir local;
    kv::test::TempDir trustFolder;
};

TEST_F(ClientAgainstServiceTest, StartStopStatusAndRestartTime) {
    host.record.status = "Running";
    host.record.setupName = "CTF";
    host.record.description = "one\ntwo";
    auto c = client();
    EXPECT_EQ(c->StartServer(), 1);
    EXPECT_EQ(c->StopServer(), 1);
    std::string setup, status, map, description, admin, player;
    std::uint32_t up = 0;
    int crashes = 0;
    std::int32_t ram = 0, peak = 0;
    EXPECT_EQ(c->GetServerStatus(setup, status, map, description, admin, player, up, crashes, ram, peak), 1);
    EXPECT_EQ(status, "Running");
    EXPECT_EQ(setup, "CTF");
    EXPECT_EQ(description, "one\ntwo\n");
    EXPECT_EQ(c->SetRestartTime("180"), 1);
    std::string time;
    EXPECT_EQ(c->GetRestartTime(time), 1);
    EXPECT_EQ(time, "180");
    EXPECT_EQ(c->SetRestartTime("None"), 1);
    EXPECT_EQ(c->GetRestartTime(time), 1);
    EXPECT_EQ(time, "None");
    EXPECT_THAT(host.controlRequests(), ElementsAre(true, false));
    auto access = host.accessLines();
    ASSERT_GE(access.size(), 3u);
    EXPECT_EQ(access[0], "KVSM Start Server Request from IP 127.0.0.1");
    EXPECT_EQ(access[1], "KVSM Stop Server Request from IP 127.0.0.1");
    EXPECT_EQ(access[2], "KVSM Status Request from IP 127.0.0.1");
    EXPECT_EQ(client("wrong")->StartServer(), 0);
}

TEST_F(ClientAgainstServiceTest, ConfigurationsAndSetupsGoUpListDownAndAway) {
    auto c = client();
    std::string ini = local.write("CTF.ini", "[Engine]\nMaxPlayers=16\n");
    EXPECT_EQ(c->UploadConfiguration(ini, "CTF", "LAN", "Harbor.kvm", "Friday\nleague", "adm", "play"), 1);
    std::string setup = local.write("CTF.ServerConfig", "m_csName=CTF\r\n");
    EXPECT_EQ(c->UploadServerSetup("CTF", setup), 1);
    std::vector<std::string> list;
    EXPECT_EQ(c->RetrieveServerSetupList(list), 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_THAT(list[0], StartsWith("CTF,Harbor.kvm,LAN,"));
    EXPECT_EQ(c->DownloadServerSetup("CTF"), 1);
    EXPECT_EQ(kv::readFile(local.file("Server Setups/CTF.ServerConfig")), "m_csName=CTF\n");
    EXPECT_EQ(c->ActivateConfiguration("CTF"), 1);
    EXPECT_EQ(host.settings().activeControlFile, "CTF.Control");
    // A configuration whose setup is gone is removed when its setup is asked for.
    kv::removeFile(work("Server Setups/CTF.ServerConfig"));
    EXPECT_EQ(c->DownloadServerSetup("CTF"), 0);
    ASSERT_TRUE(kv::test::waitUntil([&] { return !kv::fileExists(work("Configurations/CTF.Control")); },
                                    std::chrono::seconds(5)));
    EXPECT_FALSE(kv::fileExists(work("Configurations/CTF.ini")));
    // Refused names fail at once instead of waiting for a marker.
    EXPECT_EQ(c->UploadServerSetup("v1.2", setup), 0);
}

TEST_F(ClientAgainstServiceTest, DownloadsOfBlockSizeAndOneByteMore) {
    auto c = client();
    for (std::size_t size : {std::size_t(8192), std::size_t(8193), std::size_t(0)}) {
        std::string bytes = bytesOf(size);
        ASSERT_TRUE(kv::writeFileAtomically(game("System/pb/svss/shot.png"), bytes));
        EXPECT_EQ(c->RetrievePunkbusterScreenshotFile("shot.png", 0), 1);
        EXPECT_EQ(kv::readFile(local.file("PBScreenshots/shot.png")), bytes);
    }
}

TEST_F(ClientAgainstServiceTest, BanListsOptionFilesScreenshotsAndLogs) {
    auto c = client();
    EXPECT_EQ(c->DownloadBanlist("bans.txt"), 1); // none yet: success without a file, session kept
    EXPECT_FALSE(kv::fileExists(local.file("bans.txt")));
    EXPECT_EQ(c->UploadBanlist(local.write("up.txt", "1.2.3.4\n")), 1);
    EXPECT_EQ(c->DownloadBanlist("bans.txt"), 1);
    EXPECT_EQ(kv::readFile(local.file("bans.txt")), "1.2.3.4\n");

    ASSERT_TRUE(kv::writeFileAtomically(game("System/pb/pbsv.cfg"), "pb_sv_enable\n"));
    std::vector<std::string> options;
    EXPECT_EQ(c->RetrievePunkbusterConfigFileList(options), 1);
    ASSERT_EQ(options.size(), 1u);
    EXPECT_THAT(options[0], StartsWith("pbsv.cfg,"));
    EXPECT_EQ(c->DownloadPBConfig("pbsv"), 1);
    std::string local = this->local.file(kv::protocol::optionFileCopyName(address(), "pbsv.cfg"));
    EXPECT_EQ(kv::readFile(local), "pb_sv_enable\n");
    ASSERT_TRUE(kv::writeFileAtomically(local, "pb_sv_enable\npb_sv_kick 1\n"));
    EXPECT_EQ(c->UploadPBConfig("pbsv"), 1);
    EXPECT_EQ(kv::readFile(game("System/pb/pbsv.cfg")), "pb_sv_enable\npb_sv_kick 1\n");

    ASSERT_TRUE(kv::writeFileAtomically(game("System/pb/svlogs/a.log"), "log text"));
    ASSERT_TRUE(kv::writeFileAtomically(game("System/pb/svss/b.jpg"), "jpg"));
    std::vector<std::string> logs, shots;
    EXPECT_EQ(c->RetrievePunkbusterScreenshotFileList(logs, 1), 1);
    EXPECT_EQ(c->RetrievePunkbusterScreenshotFileList(shots, 0), 1);
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_THAT(logs[0], testing::EndsWith(",8"));
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_THAT(shots[0], testing::EndsWith(",3"));
    EXPECT_EQ(c->RetrievePunkbusterScreenshotFile("a.log", 1), 1);
    EXPECT_EQ(kv::readFile(this->local.file("PBLogs/a.log")), "log text");
}

class RecordingMonitor : public kv::MonitorSink {
public:
    bool alive() const override { return true; }
    void lineAdded() override {}
    void feedFailed(std::string) override {}
    void feedEnded() override {}
    void monitorFinished() override { finished = true; }
    std::atomic<bool> finished{false};
};

TEST_F(ClientAgainstServiceTest, TheMonitorFeedFollowsTheRunUntilItEnds) {
    host.history = {{1700000000, "Game engine initialized", 0}};
    auto c = client();
    RecordingMonitor window;
    kv::MonitorLines lines;
    std::vector<std::string> got;
    kv::MonitorThreadPtr feed(c->StartMonitor(&window, &lines));
    feed->resume();
    ASSERT_TRUE(kv::test::waitUntil([&] { return host.currentFeed() != nullptr; }, std::chrono::seconds(5)));
    host.currentFeed()->deliver({1700000001, "Player joined", 0});
    ASSERT_TRUE(kv::test::waitUntil(
        [&] {
            for (auto& line : lines.takeAll())
                got.push_back(line);
            return got.size() >= 2;
        },
        std::chrono::seconds(5)));
    host.currentFeed()->feedEnded();
    ASSERT_TRUE(kv::test::waitUntil([&] { return window.finished.load(); }, std::chrono::seconds(10)));
    for (auto& line : lines.takeAll())
        got.push_back(line);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_THAT(got[0], testing::EndsWith(" - Game engine initialized"));
    EXPECT_THAT(got[1], testing::EndsWith(" - Player joined"));
    EXPECT_THAT(got[2], testing::EndsWith(" - Connection to server broken"));
    EXPECT_THAT(got[3], testing::EndsWith(" - Ending monitoring thread"));
}

} // namespace
