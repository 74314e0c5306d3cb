// The client pins the agent's identity before it sends anything: first contact, a changed identity, known-only
// and an unusable trust file, each checked on what the agent saw.
#include "client/TrustStore.h"
#include "common/Files.h"
#include "tests/client/ClientFixture.h"

using testing::AllOf;
using testing::HasSubstr;

namespace kv::test {

namespace {

class ClientTrustTest : public ClientTest {
protected:
    std::optional<TrustEntry> pinned(const std::string& host, unsigned port) {
        std::optional<TrustEntry> entry;
        TrustStore store(trustFile());
        EXPECT_TRUE(store.find(host, port, entry)) << store.error();
        return entry;
    }

    // Nothing but the handshake reached the agent: no Login line, no request, no other line.
    static void expectNothingSent(FakeAgent& peer) {
        ASSERT_TRUE(peer.waitForSessions(1));
        std::lock_guard lock(peer.mutex());
        EXPECT_EQ(peer.logins, 0);
        EXPECT_TRUE(peer.ignoredLines.empty());
        EXPECT_TRUE(peer.requests.empty());
    }

    const std::string genuine = testAgentIdentity().fingerprint;
};

TEST_F(ClientTrustTest, FirstContactRecordsTheAgentAndLaterContactsMustMatchIt) {
    std::string time;
    ASSERT_EQ(client->GetRestartTime(time), 1) << status.last();
    EXPECT_EQ(client->LastAgentTrust(), AgentTrust::Recorded);
    EXPECT_EQ(client->PresentedFingerprint(), genuine);
    std::optional<TrustEntry> entry = pinned("127.0.0.1", agent.port());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->fingerprint, genuine);
    EXPECT_EQ(entry->date, trustDateToday());

    ASSERT_EQ(client->GetRestartTime(time), 1);
    EXPECT_EQ(client->LastAgentTrust(), AgentTrust::Known);
    EXPECT_EQ(client->RecordedFingerprint(), genuine);
}

TEST_F(ClientTrustTest, AnImpostorIsRefusedBeforeThePasswordIsSent) {
    FakeAgent impostor(otherServerContext());
    ASSERT_TRUE(TrustStore(trustFile()).record("127.0.0.1", impostor.port(), genuine));
    auto toImpostor = makeClient(impostor.address());

    EXPECT_EQ(toImpostor->StartServer(), 0);
    expectNothingSent(impostor);
    EXPECT_EQ(toImpostor->LastAgentTrust(), AgentTrust::Changed);
    EXPECT_EQ(toImpostor->RecordedFingerprint(), genuine);
    const std::string presented = toImpostor->PresentedFingerprint();
    EXPECT_THAT(presented, AllOf(testing::SizeIs(95), testing::Ne(genuine)));
    const std::string agentName = "127.0.0.1:" + std::to_string(impostor.port());
    EXPECT_THAT(status.last(), AllOf(HasSubstr("identity of the agent at " + agentName + " has changed"),
                                     HasSubstr(genuine), HasSubstr(trustDateToday()), HasSubstr(presented),
                                     HasSubstr("kvagent --fingerprint"), HasSubstr("kvsm remote trust " + agentName)));
    // The refusal is not recorded over the pinned identity.
    EXPECT_EQ(pinned("127.0.0.1", impostor.port())->fingerprint, genuine);
}

TEST_F(ClientTrustTest, KnownOnlyRefusesAnUnknownAgentAndACheckRecordsNothing) {
    policy = TrustPolicy::KnownOnly;
    auto strict = makeClient(agent.address());
    EXPECT_EQ(strict->StartServer(), 0);
    expectNothingSent(agent);
    EXPECT_EQ(strict->LastAgentTrust(), AgentTrust::Unknown);
    EXPECT_THAT(status.last(), AllOf(HasSubstr("not in the trust file"), HasSubstr(genuine)));

    policy = TrustPolicy::TrustOnFirstUse;
    auto checking = makeClient(agent.address());
    EXPECT_EQ(checking->CheckAgentIdentity(), 1);
    EXPECT_EQ(checking->LastAgentTrust(), AgentTrust::Unknown);
    EXPECT_EQ(checking->PresentedFingerprint(), genuine);
    EXPECT_FALSE(fileExists(trustFile()));
    ASSERT_TRUE(agent.waitForSessions(2));
    EXPECT_EQ(agentState(&FakeAgent::logins), 0);
}

TEST_F(ClientTrustTest, ATrustFileThatCannotBeUsedRefusesTheAgent) {
    ASSERT_TRUE(makeDirectories(trustFile())); // a folder where the file should be
    EXPECT_EQ(client->StartServer(), 0);
    expectNothingSent(agent);
    EXPECT_EQ(client->LastAgentTrust(), AgentTrust::TrustFileUnusable);
    EXPECT_THAT(status.last(), AllOf(HasSubstr("cannot be checked"), HasSubstr(trustFile())));
}

} // namespace

} // namespace kv::test
