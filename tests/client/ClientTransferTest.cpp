#include "tests/client/ClientFixture.h"

#include "common/Files.h"
#include "common/protocol/OptionFileCopy.h"

using kv::test::ClientTest;
using kv::test::FakeAgent;
using testing::ElementsAre;

namespace {

std::string bytesOf(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 256); // line feeds, carriage returns and zero bytes included
    return bytes;
}

class DownloadTest : public ClientTest {
protected:
    void store(const std::string& key, const std::string& bytes) {
        std::lock_guard lock(agent.mutex());
        agent.files[key] = bytes;
    }
};

TEST_F(DownloadTest, BlocksOf8192BytesAreAcknowledgedOneByOne) {
    for (std::size_t size : {std::size_t(8192), std::size_t(8193)}) {
        std::string bytes = bytesOf(size);
        store("setup/CTF", bytes);
        int acksBefore = agentState(&FakeAgent::acks);
        EXPECT_EQ(client->DownloadServerSetup("CTF"), 1);
        EXPECT_EQ(kv::readFile(local.file("Server Setups/CTF.ServerConfig")), bytes);
        EXPECT_EQ(agentState(&FakeAgent::acks) - acksBefore, size == 8192 ? 1 : 2);
    }
    EXPECT_EQ(status.last(), "Retrieved 100% of Server Setup File");
}

TEST_F(DownloadTest, EachFileKindLandsInItsPlace) {
    store("shot/pb000.png", "png bytes");
    store("log/pb.log", "log bytes");
    store("option/pbsv", "option bytes");
    store("ban", "ban bytes");
    EXPECT_EQ(client->RetrievePunkbusterScreenshotFile("pb000.png", 0), 1);
    EXPECT_EQ(status.last(), "Retrieved 100% of PB File");
    EXPECT_EQ(client->RetrievePunkbusterScreenshotFile("pb.log", 1), 1);
    EXPECT_EQ(client->DownloadPBConfig("pbsv"), 1);
    EXPECT_EQ(client->DownloadBanlist("bans/list.txt"), 1); // an absent folder of the caller's path is made
    EXPECT_EQ(kv::readFile(local.file("PBScreenshots/pb000.png")), "png bytes");
    EXPECT_EQ(kv::readFile(local.file("PBLogs/pb.log")), "log bytes");
    // The port's colon does not reach the file name.
    EXPECT_EQ(kv::readFile(local.file("127.0.0.1_" + agent.address().substr(10) + "-pbsv.cfg")), "option bytes");
    EXPECT_EQ(kv::readFile(local.file("bans/list.txt")), "ban bytes");
}

TEST_F(DownloadTest, AMissingSetupRemovesItsConfigurationOnTheAgent) {
    store("control/Gone", "x");
    EXPECT_EQ(client->DownloadServerSetup("Gone"), 0);
    ASSERT_TRUE(agent.waitForSessions(1));
    EXPECT_THAT(agentState(&FakeAgent::requests),
                ElementsAre("DownloadServerSetupFile", "RemoveConfiguration", "Logout"));
    EXPECT_EQ(agentState(&FakeAgent::files).count("control/Gone"), 0u);
    EXPECT_FALSE(kv::fileExists(local.file("Server Setups/Gone.ServerConfig")));
}

TEST_F(DownloadTest, AMissingBanListSucceedsWithoutFileAndKeepsTheSession) {
    EXPECT_EQ(client->DownloadBanlist("ban.txt"), 1);
    EXPECT_FALSE(kv::fileExists(local.file("ban.txt")));
    EXPECT_TRUE(client->IsConnected());
    // The next call goes out on the same session, without a new login.
    EXPECT_EQ(client->DownloadPBConfig("missing"), 1);
    EXPECT_EQ(client->StartServer(), 1);
    ASSERT_TRUE(agent.waitForSessions(1));
    EXPECT_EQ(agentState(&FakeAgent::sessions), 1);
    EXPECT_THAT(agentState(&FakeAgent::requests),
                ElementsAre("DownloadBanList", "DownloadPBOptionFile", "StartServer", "Logout"));
}

TEST_F(DownloadTest, AnEmptyScreenshotGivesAnEmptyFile) {
    EXPECT_EQ(client->RetrievePunkbusterScreenshotFile("none.png", 0), 1);
    EXPECT_EQ(kv::readFile(local.file("PBScreenshots/none.png")), "");
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(DownloadTest, ABrokenDownloadKeepsTheEarlierLocalFile) {
    std::string earlier = local.write("Server Setups/CTF.ServerConfig", "earlier copy");
    {
        std::lock_guard lock(agent.mutex());
        agent.overrides["DownloadServerSetupFile"] = [](kv::CCommAsyncSocket& connection) {
            std::string name;
            connection.ReceiveLine(name, 511);
            connection.SendAll(std::string("20000\n") + std::string(8192, 'x'));
            return false; // broken after the first block
        };
    }
    EXPECT_EQ(client->DownloadServerSetup("CTF"), 0);
    EXPECT_EQ(kv::readFile(earlier), "earlier copy");
    EXPECT_EQ(kv::listDirectory(local.file("Server Setups")), std::vector<std::string>{"CTF.ServerConfig"});
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(DownloadTest, NamesThatWouldLeaveTheDownloadFolderAreRefused) {
    store("shot/../../escape", "x");
    EXPECT_EQ(client->RetrievePunkbusterScreenshotFile("../../escape", 0), 0);
    EXPECT_EQ(client->DownloadServerSetup("../x"), 0);
    EXPECT_EQ(client->DownloadPBConfig("a/b"), 0);
    EXPECT_TRUE(agentState(&FakeAgent::requests).empty());
}

TEST_F(DownloadTest, ANegativeSizeIsNotTakenForAMissingSetup) {
    {
        std::lock_guard lock(agent.mutex());
        agent.files["control/Big"] = "x";
        agent.overrides["DownloadServerSetupFile"] = [](kv::CCommAsyncSocket& connection) {
            std::string name;
            connection.ReceiveLine(name, 511);
            connection.SendAll(std::string("-2147483648\n"));
            return true;
        };
    }
    EXPECT_EQ(client->DownloadServerSetup("Big"), 0);
    EXPECT_EQ(agentState(&FakeAgent::files).count("control/Big"), 1u);
}

class UploadTest : public ClientTest {
protected:
    std::string stored(const std::string& key) {
        std::lock_guard lock(agent.mutex());
        auto file = agent.files.find(key);
        return file == agent.files.end() ? "<none>" : file->second;
    }
};

TEST_F(UploadTest, FilesGoOutLineByLineBetweenTheirMarkers) {
    std::string setup = local.write("CTF.ServerConfig", "m_csName=CTF\r\nm_iMaxPlayers=16\r\n");
    EXPECT_EQ(client->UploadServerSetup("CTF", setup), 1);
    EXPECT_EQ(stored("setup/CTF"), "m_csName=CTF\nm_iMaxPlayers=16\n");
    EXPECT_EQ(status.texts()[status.texts().size() - 1], "100% of Server Setup File Transmitted");

    local.write(kv::protocol::optionFileCopyName(agent.address(), "pbsv.cfg"), "pb_sv_enable\n");
    EXPECT_EQ(client->UploadPBConfig("pbsv"), 1);
    EXPECT_EQ(stored("option/pbsv"), "pb_sv_enable\n");
    EXPECT_EQ(status.last(), "100% of PB Configuration File Transmitted");

    // A last line without a line feed gets one, so that the end marker starts a line of its own.
    EXPECT_EQ(client->UploadBanlist(local.write("bans.txt", "1.2.3.4\n5.6.7.8")), 1);
    EXPECT_EQ(stored("ban"), "1.2.3.4\n5.6.7.8\n");
    EXPECT_EQ(status.last(), "100% of Server Ban List File Transmitted");
}

TEST_F(UploadTest, AnEmptyFileSendsOnlyTheEndMarker) {
    EXPECT_EQ(client->UploadBanlist(local.write("empty.txt", "")), 1);
    EXPECT_EQ(stored("ban"), "");
}

TEST_F(UploadTest, ALineLongerThanAPieceArrivesAsSeveralLines) {
    std::string longLine(16382 + 10, 'q');
    EXPECT_EQ(client->UploadBanlist(local.write("long.txt", longLine + "\n")), 1);
    EXPECT_EQ(stored("ban"), std::string(16382, 'q') + "\n" + std::string(10, 'q') + "\n");
}

TEST_F(UploadTest, AMissingLocalFileFailsBeforeConnecting) {
    EXPECT_EQ(client->UploadBanlist(local.file("absent.txt")), 0);
    EXPECT_TRUE(status.texts().empty());
}

TEST_F(UploadTest, OtherRepliesThanTheExpectedMarkersFail) {
    std::string file = local.write("bans.txt", "x\n");
    {
        std::lock_guard lock(agent.mutex());
        agent.overrides["UploadBanList"] = [](kv::CCommAsyncSocket& connection) {
            connection.SendAll(std::string("[AbortSend]\n"));
            return true;
        };
        agent.overrides["UploadPBOptionFile"] = [](kv::CCommAsyncSocket& connection) {
            std::string line;
            connection.ReceiveLine(line, 1023);
            connection.SendAll(std::string("[SendFile]\n"));
            while (connection.ReceiveLine(line, 16383) >= 0 && line != "[EndOfFile]") {
            }
            connection.SendAll(std::string("[BadSend]\n"));
            return true;
        };
    }
    EXPECT_EQ(client->UploadBanlist(file), 0);
    local.write(kv::protocol::optionFileCopyName(agent.address(), "pbsv.cfg"), "x\n");
    EXPECT_EQ(client->UploadPBConfig("pbsv"), 0);
    ASSERT_TRUE(agent.waitForSessions(2));
    // Both ended with a normal logout.
    EXPECT_THAT(agentState(&FakeAgent::requests),
                ElementsAre("UploadBanList", "Logout", "UploadPBOptionFile", "Logout"));
}

TEST_F(UploadTest, AFileLineThatReadsAsTheEndMarkerStopsTheUploadAndTheAgentKeepsItsFile) {
    {
        std::lock_guard lock(agent.mutex());
        agent.files["ban"] = "good list\n";
    }
    EXPECT_EQ(client->UploadBanlist(local.write("bans.txt", "1.2.3.4\n[endoffile] trick\nStopServer\n")), 0);
    ASSERT_TRUE(agent.waitForSessions(1));
    EXPECT_EQ(stored("ban"), "good list\n");
    EXPECT_THAT(agentState(&FakeAgent::requests), ElementsAre("UploadBanList"));
}

TEST_F(UploadTest, AConfigurationSendsItsFieldsAndDescriptionFirst) {
    std::string ini = local.write("CTF.ini", "[Engine]\nMaxPlayers=16\n");
    EXPECT_EQ(client->UploadConfiguration(ini, "CTF", "LAN", "Harbor.kvm", "line one\r\n[EndDescription] not yet",
                                          "adm", "play"),
              1);
    EXPECT_EQ(stored("config/CTF"), "[Engine]\nMaxPlayers=16\n");
    EXPECT_EQ(stored("control/CTF"), "LAN|Harbor.kvm|adm|play|line one0xA[EndDescription] not yet0xA");
    EXPECT_EQ(status.last(), "100% of Server Configuration File Transmitted");
    // A file that cannot be read still sends the end marker after the ready marker.
    EXPECT_EQ(client->UploadConfiguration(local.file("none.ini"), "DM", "GLOBAL", "Dune", "", "", ""), 1);
    EXPECT_EQ(stored("config/DM"), "");
    // A description line that would end the description early is refused.
    EXPECT_EQ(client->UploadConfiguration(ini, "X", "LAN", "m", "a\n[EndDescription]\nStopServer", "", ""), 0);
    EXPECT_EQ(stored("config/X"), "<none>");
}

} // namespace
