#include "common/channel/CCommAsyncSocket.h"
#include "tests/common/channel/TlsPair.h"
#include "tests/support/TestIdentity.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <thread>

using kv::CCommAsyncSocket;
using kv::SslContext;
using kv::SslRole;

namespace {

std::shared_ptr<SslContext> clientContext() {
    return kv::test::testClientContext();
}
std::shared_ptr<SslContext> serverContext() {
    return kv::test::testServerContext();
}

class ChannelTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        bool tls = GetParam();
        pair = std::make_unique<kv::test::TlsPair>(tls ? clientContext() : nullptr, tls ? serverContext() : nullptr);
        ASSERT_TRUE(pair->connect());
    }
    void send(const std::string& bytes) { ASSERT_EQ(pair->server.SendAll(bytes), static_cast<int>(bytes.size())); }
    std::string line(int capacity = 1024) {
        std::string text;
        lastLength = pair->client.ReceiveLine(text, capacity);
        return text;
    }

    std::unique_ptr<kv::test::TlsPair> pair;
    int lastLength = 0;
};

TEST_P(ChannelTest, LinesAreCutAtTheirFirstCarriageReturnOrLineFeed) {
    send("Name\r\n\nab\rcd\nlast\n");
    EXPECT_EQ(line(), "Name");
    EXPECT_EQ(lastLength, 4);
    EXPECT_EQ(line(), "");
    EXPECT_EQ(lastLength, 0);
    EXPECT_EQ(line(), "ab");
    EXPECT_EQ(line(), "last");
    EXPECT_EQ(pair->peerAddress, "127.0.0.1");
}

TEST_P(ChannelTest, LongLinesAreSplitAtTheCapacity) {
    // Exactly capacity - 1 characters: the line feed is left for the next call, which sees an empty line.
    send(std::string(63, 'x') + "\n" + std::string(100, 'y') + "\n");
    EXPECT_EQ(line(64), std::string(63, 'x'));
    EXPECT_EQ(lastLength, 63);
    EXPECT_EQ(line(64), "");
    EXPECT_EQ(line(64), std::string(63, 'y'));
    EXPECT_EQ(line(64), std::string(37, 'y'));
}

TEST_P(ChannelTest, ALineReadLeavesTheRawBytesThatFollowIt) {
    std::string block;
    for (int i = 0; i < 20000; ++i)
        block += static_cast<char>(i % 251); // includes line feeds and carriage returns
    send("20000\n" + block + "NextLine\n");
    EXPECT_EQ(line(64), "20000");
    std::string received(20000, '\0');
    ASSERT_EQ(pair->client.ReceiveExact(received.data(), 20000), 20000);
    EXPECT_EQ(received, block);
    EXPECT_EQ(line(), "NextLine");
}

TEST_P(ChannelTest, ByteAndExactReads) {
    char byte = 0;
    EXPECT_EQ(pair->client.ReceiveExact(&byte, 0), 0);
    send(std::string("\x01", 1) + "abc");
    ASSERT_EQ(pair->client.ReceiveByte(&byte), 1);
    EXPECT_EQ(byte, 1);
    char three[3];
    ASSERT_EQ(pair->client.ReceiveExact(three, 3), 3);
    EXPECT_EQ(std::string(three, 3), "abc");
}

TEST_P(ChannelTest, EveryReadFailsOnceThePeerHasClosed) {
    send("partial line without end");
    pair->server.Close();
    pair->server.Close(); // closing twice does nothing
    EXPECT_FALSE(pair->server.IsOpen());
    EXPECT_EQ(line(), "");
    EXPECT_EQ(lastLength, -1);
    char byte = 0;
    EXPECT_EQ(pair->client.ReceiveByte(&byte), -1);
    char buffer[4];
    EXPECT_EQ(pair->client.ReceiveExact(buffer, 4), -1);
}

TEST_P(ChannelTest, WritingToAClosedPeerFailsWithoutKillingTheProcess) {
    pair->server.Close();
    pair->listener.Close();
    std::string chunk(65536, 'z');
    int result = 0;
    for (int i = 0; i < 200 && result >= 0; ++i)
        result = pair->client.SendAll(chunk);
    EXPECT_EQ(result, -1);
}

TEST_P(ChannelTest, AReplyTimeOutEndsAWaitingRead) {
    pair->client.SetReplyTimeout(std::chrono::milliseconds(100));
    EXPECT_EQ(line(), "");
    EXPECT_EQ(lastLength, -1);
    EXPECT_EQ(pair->client.LastError(), ETIMEDOUT);
}

INSTANTIATE_TEST_SUITE_P(TlsAndPlain, ChannelTest, ::testing::Values(true, false));

TEST(ChannelConnect, AnUnresolvableHostFailsWithInvalidArgumentAndLeavesTheSocketOpen) {
    CCommAsyncSocket socket(clientContext());
    ASSERT_TRUE(socket.CreateBound(0));
    EXPECT_EQ(socket.ConnectTo("no-such-host.invalid", 49310), 0);
    EXPECT_EQ(socket.LastError(), EINVAL);
    EXPECT_TRUE(socket.IsOpen());
}

TEST(ChannelConnect, APortWithoutListenerIsRefused) {
    CCommAsyncSocket probe;
    ASSERT_TRUE(probe.CreateBound(0, SOCK_STREAM, "127.0.0.1"));
    unsigned port = probe.LocalPort();
    probe.Close();
    CCommAsyncSocket socket(clientContext());
    socket.SetTimeouts(std::chrono::milliseconds(2000), std::chrono::milliseconds(2000));
    EXPECT_EQ(socket.ConnectTo("127.0.0.1", port), 0);
    EXPECT_EQ(socket.LastError(), ECONNREFUSED);
}

TEST(ChannelConnect, ABindAddressMustBeDottedDecimal) {
    CCommAsyncSocket socket;
    EXPECT_EQ(socket.CreateBound(0, SOCK_STREAM, "localhost"), 0);
    EXPECT_EQ(socket.LastError(), EINVAL);
    EXPECT_FALSE(socket.IsOpen());
}

TEST(ChannelConnect, APlainClientFailsTheServerHandshakeAtTheFirstRead) {
    kv::test::TlsPair pair(nullptr, serverContext());
    unsigned port = pair.listen();
    ASSERT_NE(port, 0u);
    ASSERT_EQ(pair.client.ConnectTo("127.0.0.1", port), 1);
    ASSERT_EQ(pair.listener.AcceptInto(pair.server), 1);
    ASSERT_EQ(pair.client.SendAll(std::string("Login\n")), 6);
    std::string text;
    EXPECT_EQ(pair.server.ReceiveLine(text, 64), -1);
}

TEST(ChannelConnect, TheClientSeesWhichCertificateTheServerPresented) {
    // The client accepts any certificate in the handshake; what it pins is the fingerprint it reads afterwards.
    kv::test::TlsPair genuine(clientContext(), serverContext());
    ASSERT_TRUE(genuine.connect());
    EXPECT_EQ(genuine.client.PeerFingerprint(), kv::test::testAgentIdentity().fingerprint);
    EXPECT_EQ(genuine.server.PeerFingerprint(), ""); // clients present no certificate

    kv::test::TlsPair impostor(clientContext(), kv::test::otherServerContext());
    ASSERT_TRUE(impostor.connect());
    EXPECT_NE(impostor.client.PeerFingerprint(), kv::test::testAgentIdentity().fingerprint);
    EXPECT_EQ(impostor.client.PeerFingerprint().size(), 95u);
}

} // namespace
