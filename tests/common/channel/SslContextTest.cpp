#include "common/channel/SslContext.h"
#include "tests/support/TestIdentity.h"

#include <gtest/gtest.h>

using kv::KeyMaterial;
using kv::SslContext;
using kv::SslRole;

namespace {

int setUp(SslRole role, const KeyMaterial& keys) {
    int result = -1;
    auto context = SslContext::create(role, keys, &result);
    EXPECT_EQ(context != nullptr, result == 0);
    return result;
}

TEST(SslContext, TheServerNeedsItsIdentityAndTheClientNothing) {
    EXPECT_EQ(setUp(SslRole::Server, kv::test::testAgentIdentity().keys), kv::SslSetupOk);
    EXPECT_EQ(setUp(SslRole::Client, {}), kv::SslSetupOk);
    EXPECT_EQ(setUp(SslRole::Server, {}), kv::SslSetupBadCertificate);
}

TEST(SslContext, BrokenMaterialGivesItsResultCode) {
    const KeyMaterial& keys = kv::test::testAgentIdentity().keys;
    EXPECT_EQ(setUp(SslRole::Server, {"not a certificate", keys.privateKeyPem}), kv::SslSetupBadCertificate);
    EXPECT_EQ(setUp(SslRole::Server, {keys.certificatePem, ""}), kv::SslSetupBadKey);
    auto other = kv::makeAgentIdentity("other");
    ASSERT_TRUE(other);
    EXPECT_EQ(setUp(SslRole::Server, {keys.certificatePem, other->keys.privateKeyPem}), kv::SslSetupKeyMismatch);
}

TEST(SslContext, TheProcessContextIsMadeOnce) {
    EXPECT_EQ(kv::processSslContext(), nullptr);
    EXPECT_EQ(kv::InitSslContext(SslRole::Client), kv::SslSetupOk);
    auto first = kv::processSslContext();
    ASSERT_NE(first, nullptr);
    // A second call, even with another role, returns 0 and changes nothing.
    EXPECT_EQ(kv::InitSslContext(SslRole::Server, kv::test::testAgentIdentity().keys), kv::SslSetupOk);
    EXPECT_EQ(kv::processSslContext(), first);
    EXPECT_EQ(first->role(), SslRole::Client);
}

} // namespace
