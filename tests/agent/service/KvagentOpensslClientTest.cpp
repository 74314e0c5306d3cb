// kvagent --headless against a TLS client that is not ours: openssl s_client, fed the protocol by hand. What the
// agent sends is checked byte for byte, so that a peer built from the protocol alone can rely on it.
#include "common/AtomicFile.h"
#include "common/ChildProcess.h"
#include "common/Files.h"
#include "common/Md5.h"
#include "common/channel/AgentIdentity.h"
#include "tests/agent/AgentTestHost.h"
#include "tests/support/FreePort.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SimGame.h"

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const std::string kOpenssl = "/usr/bin/openssl";

// openssl s_client on the agent's port; what it prints on standard output is exactly what the agent sent.
class OpensslClient {
public:
    // `trusted`: the certificate that s_client accepts, as its only authority (the agent's is self-signed).
    bool start(int port, const std::string& trusted, bool crlf, std::string* error) {
        kv::ProcessOptions options;
        options.arguments = {kOpenssl, "s_client", "-quiet", "-connect", "127.0.0.1:" + std::to_string(port),
                             "-CAfile", trusted, "-verify_return_error"};
        if (crlf)
            options.arguments.push_back("-crlf"); // every line feed we write goes out as CR LF
        options.mergeErrorIntoOutput = false;
        return process_.start(options, error);
    }

    void send(const std::string& text) {
        for (std::size_t done = 0; done < text.size();) {
            ssize_t n = ::write(process_.inputFd(), text.data() + done, text.size() - done);
            if (n <= 0)
                return;
            done += static_cast<std::size_t>(n);
        }
    }

    // Reads until `count` bytes have come, the output ends or `timeout` passes.
    std::string read(std::size_t count, std::chrono::milliseconds timeout) {
        std::string got;
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (got.size() < count && !ended_) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{process_.outputFd(), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                break;
            char buffer[16384];
            ssize_t n = ::read(process_.outputFd(), buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0)
                ended_ = true;
            else
                got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    // Reads until the output contains `marker` (the text up to and including it), or what came within `timeout`.
    std::string readThrough(const std::string& marker, std::chrono::milliseconds timeout) {
        std::string got;
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (got.find(marker) == std::string::npos && !ended_ && std::chrono::steady_clock::now() < deadline)
            got += read(1, 100ms); // byte by byte: nothing past the marker is taken
        return got;
    }

    // True once standard output has ended (the agent closed the connection and s_client quit).
    bool waitForEnd(std::chrono::milliseconds timeout, std::string* surplus) {
        *surplus = read(1 << 20, timeout);
        return ended_;
    }

    std::string errorText() {
        std::string text;
        char buffer[4096];
        pollfd p{process_.errorFd(), POLLIN, 0};
        while (::poll(&p, 1, 0) > 0) {
            ssize_t n = ::read(process_.errorFd(), buffer, sizeof buffer);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

    kv::ChildProcess& process() { return process_; }

private:
    kv::ChildProcess process_;
    bool ended_ = false;
};

class KvagentOpensslClient : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::access(kOpenssl.c_str(), X_OK), 0) << "the openssl program is needed (Debian package openssl)";
        ASSERT_TRUE(host.ok()) << host.error();
        host.controlFile("Cup", "Depot.kvo");
        // The helper's control file has empty passwords; this one fills every field of the status record.
        std::string control = "Name=Cup\nRunMode=LAN\nMap=Depot.kvo\nIni=Cup.ini\nGamePlayerPassword=join\n"
                              "GameAdminPassword=boss\nDescription=Friday cup0xASecond line0xA\n";
        ASSERT_TRUE(kv::writeFileAtomically(kv::joinPath(host.workFolder(), "Configurations/Cup.Control"), control));
        kv::agent::AgentSettings settings = host.settings();
        settings.activeControlFile = "Cup.Control";
        settings.serverIp = "127.0.0.1";
        settings.remoteControlServerPort = port;
        settings.adminName = "Admin";
        settings.md5Password = kv::md5Hex("secret");
        ASSERT_TRUE(host.writeSettings(settings));
        ASSERT_TRUE(kv::writeFileAtomically(kv::joinPath(host.gameFolder(), "System/KVSMBanList.txt"), banList()));
        std::string error;
        ASSERT_TRUE(agent.start({KV_BIN_DIR "/kvagent", "--headless", "--workdir", host.workFolder(), "--admin-port",
                                 std::to_string(host.adminPort()), "--cleanup-ms", "300", "--stop-grace-ms", "300"},
                                {}, {}, &error))
            << error;
        ASSERT_TRUE(agent.waitForLine("Server Status: Running", 20s)) << agent.output();
    }
    void TearDown() override {
        agent.process().signalGroup(SIGTERM);
        agent.waitForExit(15s);
    }

    // Two blocks: one full, one of 1808 bytes. Binary-safe content (every byte value) checks that nothing is
    // translated on the way.
    static std::string banList() {
        std::string text;
        for (int i = 0; i < 10000; ++i)
            text.push_back(static_cast<char>((i * 7 + i / 256) & 0xff));
        return text;
    }

    // The identity that the agent made in its working folder on its first start.
    std::string identityFile() const { return kv::joinPath(host.workFolder(), kv::kAgentIdentityFileName); }

    kv::test::AgentTestHost host;
    int port = kv::test::freeTcpPort();
    kv::test::ProgramRun agent;
};

class KvagentOpensslLineEnds : public KvagentOpensslClient, public ::testing::WithParamInterface<bool> {};

TEST_P(KvagentOpensslLineEnds, LoginStatusDownloadAndLogoutGiveTheExactBytes) {
    const bool crlf = GetParam();
    OpensslClient client;
    std::string error;
    ASSERT_TRUE(client.start(port, identityFile(), crlf, &error)) << error;

    // Lines before the login are ignored; the name is compared without regard to letter case.
    client.send("GetStatus\nLogin\nadmin\nsecret\n");
    ASSERT_EQ(client.read(1, 10s), std::string(1, '\x01')) << client.errorText() << agent.output();

    client.send("GetStatus\n");
    const std::string status = "Status=Running\n"
                               "MapFile=Depot.kvo\n"
                               "SetupName=Cup\n"
                               "GameAdminPassword=boss\n"
                               "GamePlayerPassword=join\n"
                               "TotalUpTime=0\n"
                               "ServerCrashes=-1\n"
                               "CurrentRAMUsage=0\n"
                               "PeakRAMUsage=0\n"
                               "CurrentPageFileUsage=0\n"
                               "PeakPageFileUsage=0\n"
                               "[StartOfDescription]\n"
                               "Friday cup\nSecond line\n\n"
                               "[EndOfDescription]\n"
                               "[EndOfServerStatus]\n";
    EXPECT_EQ(client.readThrough("[EndOfServerStatus]\n", 10s), status);

    // Download: the size line, then each block only after the previous one was acknowledged.
    const std::string bans = banList();
    client.send("DownloadBanList\n");
    EXPECT_EQ(client.readThrough("\n", 10s), "10000\n");
    EXPECT_EQ(client.read(8192, 10s), bans.substr(0, 8192));
    EXPECT_EQ(client.read(1, 300ms), "") << "the second block came before its acknowledgement";
    client.send("NextBlock\n");
    EXPECT_EQ(client.read(1808, 10s), bans.substr(8192));
    client.send("NextBlock\n");

    // The session stays after a download; a second status request proves that the last acknowledgement was taken
    // as such and not as a request.
    client.send("GetStatus\n");
    EXPECT_EQ(client.readThrough("[EndOfServerStatus]\n", 10s), status);

    // Logout: the agent closes at once, s_client sees the end and quits; nothing else was sent.
    client.send("Logout\n");
    std::string surplus;
    EXPECT_TRUE(client.waitForEnd(5s, &surplus));
    EXPECT_EQ(surplus, "");
    EXPECT_TRUE(client.process().waitFor(5s).has_value()) << "s_client did not end after the agent closed";
    EXPECT_TRUE(agent.hasLine("KVSM Status Request from IP 127.0.0.1")) << agent.output();
}

INSTANTIATE_TEST_SUITE_P(LineEnds, KvagentOpensslLineEnds, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "CrLf" : "Lf"; });

TEST_F(KvagentOpensslClient, WrongPasswordGetsTheZeroByteAndTheEnd) {
    OpensslClient client;
    std::string error;
    ASSERT_TRUE(client.start(port, identityFile(), false, &error)) << error;
    client.send("Login\nAdmin\nguess\nGetStatus\n");
    std::string surplus;
    EXPECT_EQ(client.read(1, 10s), std::string(1, '\0'));
    EXPECT_TRUE(client.waitForEnd(5s, &surplus));
    EXPECT_EQ(surplus, "") << "a request after a rejected login was answered";
    EXPECT_TRUE(agent.waitForLine("Access Rejected from IP 127.0.0.1 (Bad PW):", 5s)) << agent.output();
}

} // namespace
