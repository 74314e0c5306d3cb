#include "tests/client/ClientFixture.h"

#include "tests/support/FreePort.h"

using kv::test::ClientTest;
using kv::test::FakeAgent;
using testing::ElementsAre;

namespace {

TEST_F(ClientTest, StartAndStopLogInSendTheRequestAndLogOut) {
    EXPECT_EQ(client->StartServer(), 1);
    EXPECT_THAT(status.texts(), ElementsAre("Contacting Server Remote Control Utility , please wait...",
                                            "Logging in to Server Remote Control Utility...",
                                            "Connected to Server Remote Control Utility , please wait..."));
    EXPECT_EQ(client->StopServer(), 1);
    ASSERT_TRUE(agent.waitForSessions(2));
    EXPECT_THAT(agentState(&FakeAgent::requests), ElementsAre("StartServer", "Logout", "StopServer", "Logout"));
    EXPECT_FALSE(client->IsConnected());
    EXPECT_EQ(client->GetLastStatus(), "");
}

TEST_F(ClientTest, AnUnreachableAgentFailsWithItsTexts) {
    for (const std::string& address : std::vector<std::string>{
             "no-such-host.invalid", "127.0.0.1:" + std::to_string(kv::test::freeTcpPort()), "127.0.0.1:notaport"}) {
        auto unreachable = makeClient(address);
        kv::test::RecordingStatus texts;
        unreachable->SetStatusWindow(&texts);
        EXPECT_EQ(unreachable->StartServer(), 0) << address;
        EXPECT_THAT(texts.texts(), ElementsAre("Contacting Server Remote Control Utility , please wait...",
                                               "Server Remote Control Utility could not be contacted."));
    }
}

TEST_F(ClientTest, ARejectedLoginFailsAndTheNextCallStartsAfresh) {
    auto wrong = makeClient(agent.address(), "admin", "wrong");
    kv::test::RecordingStatus texts;
    wrong->SetStatusWindow(&texts);
    EXPECT_EQ(wrong->StartServer(), 0);
    EXPECT_EQ(texts.last(), "Logging in to Server Remote Control Utility...");
    EXPECT_FALSE(wrong->IsConnected());
    // The same object connects again once the password is right.
    wrong->SetServerInformation(agent.address(), "ADMIN", "secret");
    EXPECT_EQ(wrong->StartServer(), 1);
    ASSERT_TRUE(agent.waitForSessions(2));
    EXPECT_EQ(agentState(&FakeAgent::rejectedLogins), 1);
}

TEST_F(ClientTest, ParametersWithLineBreaksAreRefusedBeforeAnythingIsSent) {
    EXPECT_EQ(client->SetRestartTime("180\nStopServer"), 0);
    EXPECT_EQ(client->ActivateConfiguration("a\nb"), 0);
    EXPECT_EQ(client->ActivateConfiguration(""), 0); // the agent would answer nothing
    EXPECT_EQ(client->ActivateConfiguration("../CTF"), 0);
    EXPECT_EQ(client->ActivateConfiguration("a/b"), 0);
    auto injected = makeClient(agent.address(), "admin\nStopServer", "secret");
    EXPECT_EQ(injected->StartServer(), 0);
    EXPECT_TRUE(agentState(&FakeAgent::requests).empty());
}

TEST_F(ClientTest, RestartTimeRepliesAreTakenAsTheyStand) {
    {
        std::lock_guard lock(agent.mutex());
        agent.restartReply = "180\n";
    }
    std::string time = "unchanged";
    EXPECT_EQ(client->GetRestartTime(time), 1);
    EXPECT_EQ(time, "180");
    EXPECT_EQ(client->SetRestartTime("None"), 1); // the agent ends this session by itself
    EXPECT_EQ(client->SetRestartTime("240"), 1);
    ASSERT_TRUE(agent.waitForSessions(3));
    EXPECT_THAT(agentState(&FakeAgent::parameters), ElementsAre("None", "240"));
}

TEST_F(ClientTest, AReplyThatNeverComesEndsTheCallAfterTheReplyTimeOut) {
    {
        std::lock_guard lock(agent.mutex());
        agent.overrides["GetRestartTime"] = [](kv::CCommAsyncSocket&) { return true; }; // says nothing
    }
    kv::RemoteControlOptions options = client->Options();
    options.replyTimeout = std::chrono::milliseconds(300);
    kv::CServerRemoteControl impatient(agent.address(), "admin", "secret", options);
    std::string time = "unchanged";
    EXPECT_EQ(impatient.GetRestartTime(time), 0);
    EXPECT_EQ(time, "unchanged");
    EXPECT_FALSE(impatient.IsConnected());
}

TEST_F(ClientTest, ActivateReadsItsReplyAndDeleteShowsItsText) {
    {
        std::lock_guard lock(agent.mutex());
        agent.files["control/CTF"] = "x";
    }
    EXPECT_EQ(client->ActivateConfiguration("CTF"), 1);
    EXPECT_EQ(client->DeleteConfiguration("CTF"), 1);
    EXPECT_EQ(status.texts().back(), "Server Setup Deleted");
    ASSERT_TRUE(agent.waitForSessions(2));
    EXPECT_EQ(agentState(&FakeAgent::files).count("control/CTF"), 0u);
}

TEST_F(ClientTest, WithoutStatusWindowOperationsRunTheSame) {
    client->SetStatusWindow(nullptr);
    EXPECT_EQ(client->StartServer(), 1);
    EXPECT_TRUE(status.texts().empty());
}

} // namespace
