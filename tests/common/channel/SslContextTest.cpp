#include "common/channel/SslContext.h"

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

TEST(SslContext, BuiltInKeysSetUpBothRoles) {
    EXPECT_EQ(setUp(SslRole::Client, kv::clientKeyMaterial()), kv::SslSetupOk);
    EXPECT_EQ(setUp(SslRole::Server, kv::serverKeyMaterial()), kv::SslSetupOk);
}

TEST(SslContext, BrokenMaterialGivesItsResultCode) {
    KeyMaterial keys = kv::serverKeyMaterial();
    KeyMaterial noCertificate{"not a certificate", keys.privateKeyPem, keys.authorityPem};
    EXPECT_EQ(setUp(SslRole::Server, noCertificate), kv::SslSetupBadCertificate);
    KeyMaterial noAuthority{keys.certificatePem, keys.privateKeyPem, "-----BEGIN CERTIFICATE-----\nxx\n"};
    EXPECT_EQ(setUp(SslRole::Client, noAuthority), kv::SslSetupBadCertificate);
    KeyMaterial noKey{keys.certificatePem, "", keys.authorityPem};
    EXPECT_EQ(setUp(SslRole::Client, noKey), kv::SslSetupBadKey);
    KeyMaterial otherKey{keys.certificatePem, kv::clientKeyMaterial().privateKeyPem, keys.authorityPem};
    EXPECT_EQ(setUp(SslRole::Server, otherKey), kv::SslSetupKeyMismatch);
}

TEST(SslContext, TheProcessContextIsMadeOnce) {
    EXPECT_EQ(kv::processSslContext(), nullptr);
    EXPECT_EQ(kv::InitSslContext(SslRole::Client, kv::clientKeyMaterial()), kv::SslSetupOk);
    auto first = kv::processSslContext();
    ASSERT_NE(first, nullptr);
    // A second call, even with another role, returns 0 and changes nothing.
    EXPECT_EQ(kv::InitSslContext(SslRole::Server, kv::serverKeyMaterial()), kv::SslSetupOk);
    EXPECT_EQ(kv::processSslContext(), first);
    EXPECT_EQ(first->role(), SslRole::Client);
}

} // namespace
