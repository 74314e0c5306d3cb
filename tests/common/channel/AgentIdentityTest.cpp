#include "common/channel/AgentIdentity.h"
#include "common/channel/Fingerprint.h"
#include "common/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

unsigned modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

TEST(AgentIdentity, IsMadeOnceKeptPrivateAndReadBackUnchanged) {
    kv::test::TempDir dir;
    const std::string path = dir.file(kv::kAgentIdentityFileName);
    bool created = false;
    auto first = kv::loadOrCreateAgentIdentity(path, "host1", &created);
    ASSERT_TRUE(first);
    EXPECT_TRUE(created);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(kv::canonicalFingerprint(first->fingerprint), first->fingerprint);

    auto again = kv::loadOrCreateAgentIdentity(path, "host1", &created);
    ASSERT_TRUE(again);
    EXPECT_FALSE(created);
    EXPECT_EQ(again->fingerprint, first->fingerprint);

    auto fresh = kv::makeAgentIdentity("host1");
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh->fingerprint, first->fingerprint); // every agent gets a key of its own
    ASSERT_TRUE(kv::writeAgentIdentity(path, *fresh));
    EXPECT_EQ(kv::readAgentIdentity(path)->fingerprint, fresh->fingerprint);
    EXPECT_EQ(modeOf(path), 0600u);
}

TEST(AgentIdentity, ABrokenFileIsReportedAndNeverReplaced) {
    kv::test::TempDir dir;
    auto mine = kv::makeAgentIdentity("a");
    auto other = kv::makeAgentIdentity("b");
    ASSERT_TRUE(mine && other);
    // A key with somebody else's certificate, a certificate alone, and garbage.
    for (const std::string& content : {mine->keys.privateKeyPem + other->keys.certificatePem,
                                       mine->keys.certificatePem, std::string("junk\n")}) {
        const std::string path = dir.write(kv::kAgentIdentityFileName, content);
        std::string error;
        bool created = true;
        EXPECT_FALSE(kv::loadOrCreateAgentIdentity(path, "a", &created, &error));
        EXPECT_FALSE(created);
        EXPECT_NE(error.find("does not hold an agent identity"), std::string::npos) << error;
        EXPECT_EQ(kv::readFile(path), content);
    }
}

TEST(Fingerprint, TypedFormsAreCanonicalisedAndAnythingElseRefused) {
    const std::string canonical = "AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:"
                                  "23:45:67:89";
    EXPECT_EQ(kv::canonicalFingerprint(canonical), canonical);
    EXPECT_EQ(kv::canonicalFingerprint("abcdef0123456789abcdef0123456789abcdef0123456789abcdef0123456789"), canonical);
    EXPECT_EQ(kv::canonicalFingerprint("sha256 Fingerprint=" + canonical), canonical);
    EXPECT_EQ(kv::canonicalFingerprint("SHA256:" + canonical), canonical);
    for (const std::string& bad :
         {std::string(), canonical.substr(1), canonical + ":00", canonical.substr(0, 94) + "G",
          std::string(canonical).replace(2, 1, "-"), std::string(64, 'g'), canonical + "\n"})
        EXPECT_EQ(kv::canonicalFingerprint(bad), "") << bad;
}

} // namespace
