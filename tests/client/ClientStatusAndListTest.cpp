#include "tests/client/ClientFixture.h"

#include "common/protocol/StatusRecord.h"

using kv::test::ClientTest;
using kv::test::FakeAgent;
using testing::ElementsAre;

namespace {

struct StatusOutputs {
    std::string setupName = "old setup", status = "old status", mapFile = "old map", description = "old text",
                admin = "old admin", player = "old player";
    std::uint32_t upTime = 1;
    int crashes = 2;
    std::int32_t ram = 3, peak = 4;

    int fetch(kv::CServerRemoteControl& client) {
        return client.GetServerStatus(setupName, status, mapFile, description, admin, player, upTime, crashes, ram,
                                      peak);
    }
};

TEST_F(ClientTest, TheStatusRecordFillsEveryOutput) {
    kv::protocol::StatusRecord record;
    record.status = "Running";
    record.mapFile = "Harbor.kvm";
    record.setupName = "CTF";
    record.gameAdminPassword = "adm";
    record.gamePlayerPassword = "play";
    record.description = "two\nlines";
    record.totalUpTimeMinutes = 61;
    record.serverCrashes = -1;
    record.currentRamKiB = 5000;
    record.peakRamKiB = 6000;
    {
        std::lock_guard lock(agent.mutex());
        agent.statusRecord = kv::protocol::formatStatusRecord(record);
    }
    StatusOutputs out;
    EXPECT_EQ(out.fetch(*client), 1);
    EXPECT_EQ(out.setupName, "CTF");
    EXPECT_EQ(out.status, "Running");
    EXPECT_EQ(out.mapFile, "Harbor.kvm");
    EXPECT_EQ(out.description, "two\nlines\n");
    EXPECT_EQ(out.admin, "adm");
    EXPECT_EQ(out.player, "play");
    EXPECT_EQ(out.upTime, 61u);
    EXPECT_EQ(out.crashes, -1);
    EXPECT_EQ(out.ram, 5000);
    EXPECT_EQ(out.peak, 6000);
    auto texts = status.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], "Connected to Server Remote Control, retrieving status...");
    EXPECT_EQ(texts.back(), "Server Remote Control status retrieved.");
}

TEST_F(ClientTest, AStatusRecordBrokenOffKeepsWhatCameAndSucceeds) {
    {
        std::lock_guard lock(agent.mutex());
        agent.overrides["GetStatus"] = [](kv::CCommAsyncSocket& connection) {
            connection.SendAll(std::string("Status=Crashed\nMapFile=Dune.kvm\nSetupNa"));
            return false; // the connection ends here
        };
    }
    StatusOutputs out;
    EXPECT_EQ(out.fetch(*client), 1);
    EXPECT_EQ(out.status, "Crashed");
    EXPECT_EQ(out.mapFile, "Dune.kvm");
    EXPECT_EQ(out.setupName, "old setup");
    EXPECT_EQ(out.crashes, 2);
    EXPECT_EQ(status.last(), "Server Remote Control status retrieved.");
}

TEST_F(ClientTest, ListsAppendEachRecordWithARunningCount) {
    {
        std::lock_guard lock(agent.mutex());
        agent.configurationList = {"CTF,Harbor,LAN,1700000000", "DM,,GLOBAL,1700000001"};
        agent.screenshotList = {"pb1.png,1,2"};
        agent.logList = {"a.log,1,2", "b.log,3,4"};
        agent.optionFileList = {"pbsv.cfg,5,6"};
    }
    std::vector<std::string> list{"kept"};
    EXPECT_EQ(client->RetrieveServerSetupList(list), 1);
    EXPECT_THAT(list, ElementsAre("kept", "CTF,Harbor,LAN,1700000000", "DM,,GLOBAL,1700000001"));
    EXPECT_EQ(status.texts()[0], "Contacting Server Remote Control Utility , please wait...");
    EXPECT_EQ(status.texts()[3], "Retrieving Server Setup List");
    EXPECT_EQ(status.last(), "Retrieved Information for 2 Server Setups");

    std::vector<std::string> shots, logs, options;
    EXPECT_EQ(client->RetrievePunkbusterScreenshotFileList(shots, 0), 1);
    EXPECT_EQ(client->RetrievePunkbusterScreenshotFileList(logs, 1), 1);
    EXPECT_EQ(status.last(), "Retrieved PB Information Record 2");
    EXPECT_EQ(client->RetrievePunkbusterConfigFileList(options), 1);
    EXPECT_EQ(status.last(), "Retrieved PB Configuration Record 1");
    EXPECT_THAT(shots, ElementsAre("pb1.png,1,2"));
    EXPECT_THAT(logs, ElementsAre("a.log,1,2", "b.log,3,4"));
    EXPECT_THAT(options, ElementsAre("pbsv.cfg,5,6"));
}

TEST_F(ClientTest, AnEmptyListLeavesTheCallersListAsItWas) {
    std::vector<std::string> list{"kept"};
    EXPECT_EQ(client->RetrieveServerSetupList(list), 1);
    EXPECT_THAT(list, ElementsAre("kept"));
}

TEST_F(ClientTest, AListBrokenOffFailsAndANewCallConnectsAgain) {
    {
        std::lock_guard lock(agent.mutex());
        agent.overrides["GetConfigurationList"] = [](kv::CCommAsyncSocket& connection) {
            connection.SendAll(std::string("CTF,Harbor,LAN,1\n"));
            return false;
        };
    }
    std::vector<std::string> list;
    EXPECT_EQ(client->RetrieveServerSetupList(list), 0);
    EXPECT_THAT(list, ElementsAre("CTF,Harbor,LAN,1"));
    EXPECT_FALSE(client->IsConnected());
    EXPECT_EQ(client->StartServer(), 1);
}

TEST_F(ClientTest, AListThatCannotBeFetchedSaysSo) {
    auto unreachable = makeClient("no-such-host.invalid");
    kv::test::RecordingStatus texts;
    unreachable->SetStatusWindow(&texts);
    std::vector<std::string> list;
    EXPECT_EQ(unreachable->RetrieveServerSetupList(list), 0);
    EXPECT_EQ(texts.last(), "Failure contacting server");
}

} // namespace
