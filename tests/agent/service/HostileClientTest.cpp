// Attacks of a hostile peer replayed against the real listener: connections that never log in, lines longer
// than their reader, names and descriptions made to plant lines or arguments, links in the served folders and
// uploads that break off. Each checks that nothing got through and nothing was lost.
#include "agent/ControlFile.h"
#include "common/protocol/DescriptionText.h"
#include "common/protocol/NameCheck.h"
#include "tests/agent/service/ServiceFixture.h"
#include "tests/support/WaitUntil.h"

#include <gmock/gmock.h>

#include <cerrno>
#include <thread>
#include <unistd.h>

using kv::test::RawClient;
using kv::test::ServiceTest;
using testing::ElementsAre;
using namespace std::chrono_literals;

namespace {

// A TCP connection that never says anything the agent could take for TLS.
struct Silent {
    Silent(unsigned port, const char* source) {
        socket.SetTimeouts(5s, 5s);
        connected = socket.CreateBound(0, SOCK_STREAM, source) && socket.ConnectTo("127.0.0.1", port);
    }
    // Whether the agent closed it (a wait that merely ran out is not a close).
    bool closedByAgent() {
        char byte = 0;
        int n = socket.Receive(&byte, 1);
        return n == 0 || (n < 0 && socket.LastError() != ETIMEDOUT);
    }
    kv::CCommAsyncSocket socket;
    bool connected = false;
};

std::string uploadConfiguration(const std::string& name, const std::string& description, const std::string& ini) {
    return "UploadConfiguration\n" + name + "\nLAN\nHarbor.kvm\nadm\nplay\n" + description + "[EndDescription]\n" +
           ini;
}

TEST_F(ServiceTest, AFloodBeforeLoginNeverKeepsTheAdministratorOutAndTricklersMeetTheirDeadline) {
    kv::agent::service::RemoteListener::Options options;
    options.limits.loginTimeout = 1000ms;
    options.maxBeforeLogin = 16;
    options.maxBeforeLoginPerAddress = 4;
    ASSERT_TRUE(startListener(options));
    // 32 idle connections from 8 addresses, 6 more from one: the crowded addresses give way, oldest first.
    std::vector<std::unique_ptr<Silent>> flood;
    for (int i = 0; i < 38; ++i) {
        const std::string source = "127.0.1." + std::to_string(i < 32 ? 1 + i % 8 : 99);
        flood.push_back(std::make_unique<Silent>(listener->port(), source.c_str()));
        ASSERT_TRUE(flood.back()->connected);
    }
    RawClient admin(listener->port());
    ASSERT_TRUE(admin.login());
    ASSERT_TRUE(admin.send("GetRestartTime\n"));
    EXPECT_EQ(admin.line(), "None");
    EXPECT_TRUE(flood.front()->closedByAgent());
    // One byte now and then keeps no connection beyond its login time, and the logged-in one stays.
    Silent trickler(listener->port(), "127.0.2.1");
    ASSERT_TRUE(trickler.connected);
    bool closed = false;
    for (int i = 0; i < 100 && !closed; ++i) {
        closed = trickler.socket.Send("\x16", 1) < 0;
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(closed || trickler.closedByAgent());
    ASSERT_TRUE(admin.send("GetRestartTime\n"));
    EXPECT_EQ(admin.line(), "None");
    ASSERT_TRUE(kv::test::waitUntil([&] { return listener->activeSessions() == 1; }, 10s));
}

TEST_F(ServiceTest, LinesLongerThanTheirReaderEndTheSessionAndAreNeverSplit) {
    const std::string before = host.settings().activeControlFile;
    // A name that, cut at 1022 bytes, would go on as requests; and one that would plant settings lines.
    const std::string planted = std::string(1022, 'A') + "StopServer";
    const std::string settingsLines = std::string(485, 'B') + "RemoteControlServerPort=1" + std::string(470, 'C') +
                                      "Password=owned";
    for (const std::string& attack :
         {"ActivateConfiguration\n" + planted + "\n", "ActivateConfiguration\n" + settingsLines + "\n",
          std::string(1023, 'G') + "StopServer\n", "SetRestartTime\n" + std::string(1022, '0') + "180\n"}) {
        RawClient c(listener->port());
        ASSERT_TRUE(c.login());
        ASSERT_TRUE(c.send(attack + "StartServer\n"));
        EXPECT_EQ(c.line(), "<closed>") << attack.substr(0, 40);
    }
    EXPECT_TRUE(host.controlRequests().empty());
    EXPECT_EQ(host.settings().activeControlFile, before);
    EXPECT_FALSE(host.settings().timedAutoRestartServer);
    // The longest name that fits is taken; one byte more is refused.
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    ASSERT_TRUE(c.send("ActivateConfiguration\n" + std::string(kv::protocol::kMaxStoredNameLength, 'n') + "\n"));
    EXPECT_EQ(c.line(), "OK");
    ASSERT_TRUE(c.send("ActivateConfiguration\n" + std::string(kv::protocol::kMaxStoredNameLength + 1, 'n') + "\n"));
    EXPECT_EQ(c.line(), "<closed>");
    EXPECT_EQ(host.settings().activeControlFile, std::string(kv::protocol::kMaxStoredNameLength, 'n') + ".Control");
}

TEST_F(ServiceTest, NamesWithQuotesOrPathPartsAndDescriptionsThatPlantKeysGetNowhere) {
    const std::string activeBefore = host.settings().activeControlFile;
    RawClient c(listener->port());
    ASSERT_TRUE(c.login());
    for (const char* name : {"CTF\" -extra \"", "..", ".hidden", " lead", "a,b", "a\tb"}) {
        ASSERT_TRUE(c.send(uploadConfiguration(name, "", "")));
        EXPECT_EQ(c.line(), "[AbortSend]") << name;
    }
    ASSERT_TRUE(c.send("UploadServerSetupFile\nx\"y\n"));
    EXPECT_EQ(c.line(), "[AbortSend]");
    // A description line past the control file's line, made to start a line "Ini=" there, and control bytes.
    const std::string pad(1023 - std::string_view("Description=").size(), 'd');
    const std::string description = std::string("x\0Map=evil\x0b", 11) + "\n" + pad + "Ini=../../../etc/passwd\n";
    ASSERT_TRUE(c.send(uploadConfiguration("CTF", description, "[Engine]\n[EndOfConfigurationFile]\n")));
    EXPECT_EQ(c.line(), "[SendConfig]");
    EXPECT_EQ(c.line(), "[GoodSend]");
    kv::agent::ActiveConfiguration config;
    ASSERT_TRUE(kv::agent::control_file::read(work("Configurations/CTF.Control"), config));
    EXPECT_EQ(config.ini, "CTF.ini");
    EXPECT_EQ(config.map, "Harbor.kvm");
    const std::string control = kv::readFile(work("Configurations/CTF.Control")).value_or("");
    for (std::size_t start = 0, end = 0; start < control.size(); start = end + 1) {
        end = control.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - start, 511u); // what the configuration list reads of a line
    }
    ASSERT_TRUE(c.send("ActivateConfiguration\nCTF\" -x \"\nStartServer\n"));
    EXPECT_EQ(c.line(), "<closed>");
    EXPECT_TRUE(host.controlRequests().empty());
    EXPECT_EQ(host.settings().activeControlFile, activeBefore);
    EXPECT_THAT(config.description, testing::StartsWith("x Map=evil \nddd"));
    EXPECT_EQ(kv::listDirectory(work("Configurations")), (std::vector<std::string>{"CTF.Control", "CTF.ini"}));
}

TEST_F(ServiceTest, DownloadsNeverFollowALinkOutOfTheirFolder) {
    const std::string secret = host.dir.file("secret");
    ASSERT_TRUE(kv::writeFileAtomically(secret, "root:x:0:0\n"));
    ASSERT_EQ(::symlink(secret.c_str(), game("System/pb/svss/shadow.png").c_str()), 0);
    ASSERT_EQ(::symlink(secret.c_str(), game("System/KVSMBanList.txt").c_str()), 0);
    for (const char* request : {"GetPBScreenShotFile\nshadow.png\n", "DownloadBanList\n"}) {
        RawClient c(listener->port());
        ASSERT_TRUE(c.login());
        ASSERT_TRUE(c.send(request));
        EXPECT_EQ(c.line(), "0") << request;
    }
}

TEST_F(ServiceTest, UploadsThatBreakOffOrGrowTooLongKeepTheOldPairAndLeaveNoTemporaryFile) {
    {
        RawClient c(listener->port());
        ASSERT_TRUE(c.login());
        ASSERT_TRUE(c.send(uploadConfiguration("CTF", "old\n", "[Old]\n[EndOfConfigurationFile]\n")));
        EXPECT_EQ(c.line(), "[SendConfig]");
        EXPECT_EQ(c.line(), "[GoodSend]");
    }
    const auto oldControl = kv::readFile(work("Configurations/CTF.Control"));
    {
        RawClient c(listener->port());
        ASSERT_TRUE(c.login());
        ASSERT_TRUE(c.send(uploadConfiguration("CTF", "new\n", "[New]\n")));
        EXPECT_EQ(c.line(), "[SendConfig]");
    } // breaks off before the end marker
    {
        RawClient c(listener->port());
        ASSERT_TRUE(c.login());
        std::string endless = "UploadConfiguration\nCTF\nLAN\nHarbor.kvm\nadm\nplay\n";
        for (std::size_t i = 0; i <= kv::protocol::kMaxDescriptionLines; ++i)
            endless += "line\n";
        ASSERT_TRUE(c.send(endless));
        EXPECT_EQ(c.line(), "<closed>");
    }
    ASSERT_TRUE(kv::test::waitUntil([&] { return listener->activeSessions() == 0; }, 10s));
    EXPECT_EQ(kv::readFile(work("Configurations/CTF.ini")), "[Old]\n");
    EXPECT_EQ(kv::readFile(work("Configurations/CTF.Control")), oldControl);
    EXPECT_EQ(kv::listDirectory(work("Configurations")), (std::vector<std::string>{"CTF.Control", "CTF.ini"}));
    // What a crash in the middle of a commit leaves behind goes at the next start; the files themselves stay.
    ASSERT_TRUE(kv::writeFileAtomically(work("Configurations/CTF.ini.tmp-Ab12Cd"), "partial"));
    EXPECT_EQ(kv::removeStaleTemporaryFiles(work("Configurations")), 1);
    EXPECT_EQ(kv::listDirectory(work("Configurations")), (std::vector<std::string>{"CTF.Control", "CTF.ini"}));
}

} // namespace
