// The trust file: entries by host and port, what a hand edit or damage leaves, hostile host names, the size cap,
// concurrent writers and where the file lives by default.
#include "client/TrustStore.h"
#include "common/Files.h"
#include "common/Text.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using kv::TrustEntry;
using kv::TrustStore;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

const std::string kFirst =
    "AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89";
const std::string kSecond =
    "11:22:33:44:55:66:77:88:99:00:AA:BB:CC:DD:EE:FF:11:22:33:44:55:66:77:88:99:00:AA:BB:CC:DD:EE:FF";

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

std::vector<std::string> agentsIn(TrustStore& store) {
    std::vector<TrustEntry> entries;
    EXPECT_TRUE(store.list(entries)) << store.error();
    std::vector<std::string> names;
    for (const TrustEntry& entry : entries)
        names.push_back(entry.agent() + " " + entry.fingerprint);
    return names;
}

class TrustStoreTest : public ::testing::Test {
protected:
    kv::test::TempDir dir;
    std::string path = dir.file("new folder/known_agents");
    TrustStore store{path};
};

TEST_F(TrustStoreTest, RecordsFindsReplacesAndForgetsByHostAndPort) {
    // Any form of fingerprint that a user pastes is kept in one form; the host in lower case.
    ASSERT_TRUE(store.record("Game1.Example.ORG", 49310,
                             "sha256:abcdef0123456789abcdef0123456789abcdef0123456789abcdef0123456789"))
        << store.error();
    ASSERT_TRUE(store.record("game1.example.org", 49311, kSecond));
    EXPECT_EQ(modeOf(dir.file("new folder")), 0700u);
    EXPECT_EQ(modeOf(path), 0600u);

    std::optional<TrustEntry> found;
    ASSERT_TRUE(store.find("GAME1.example.org", 49310, found));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fingerprint, kFirst);
    EXPECT_EQ(found->date, kv::trustDateToday());
    ASSERT_TRUE(store.find("game1.example.org", 1, found));
    EXPECT_FALSE(found);

    ASSERT_TRUE(store.record("game1.example.org", 49310, kSecond));
    EXPECT_THAT(agentsIn(store),
                ElementsAre("game1.example.org:49310 " + kSecond, "game1.example.org:49311 " + kSecond));

    bool removed = false;
    ASSERT_TRUE(store.forget("Game1.example.org", 49311, removed));
    EXPECT_TRUE(removed);
    ASSERT_TRUE(store.forget("game1.example.org", 49311, removed));
    EXPECT_FALSE(removed);
    EXPECT_THAT(agentsIn(store), ElementsAre("game1.example.org:49310 " + kSecond));
}

TEST_F(TrustStoreTest, LinesAUserWroteOrThatWereDamagedAreKeptButNeverMatch) {
    const std::vector<std::string> written = {
        "# my agents",
        "",
        "game1:49310 not-a-fingerprint 2026-01-01",                 // damaged fingerprint
        "game3:49310 " + kFirst + " 2026-01-01 extra",              // a fourth field
        "game4:49310 " + kFirst,                                    // no date
        "Game2:49310 " + kv::toLowerAscii(kSecond) + " 2026-01-02", // edited by hand, but well formed
    };
    std::string text;
    for (const std::string& line : written)
        text += line + "\r\n";
    ASSERT_FALSE(dir.write("new folder/known_agents", text + "game5:49310 " + kFirst + " 2026-01-0\x01").empty());

    std::optional<TrustEntry> found;
    for (const char* host : {"game1", "game3", "game4", "game5"}) {
        ASSERT_TRUE(store.find(host, 49310, found));
        EXPECT_FALSE(found) << host;
    }
    ASSERT_TRUE(store.find("game2", 49310, found));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fingerprint, kSecond);
    std::vector<TrustEntry> entries;
    std::size_t unreadable = 0;
    ASSERT_TRUE(store.list(entries, &unreadable));
    EXPECT_EQ(entries.size(), 1u);
    EXPECT_EQ(unreadable, 4u);

    // Recording over the damaged line of game1 adds an entry and keeps every line the user had.
    ASSERT_TRUE(store.record("game1", 49310, kFirst));
    std::string after = kv::readFile(path).value_or("");
    for (const std::string& line : written)
        EXPECT_THAT(after, HasSubstr(line + "\n"));
    EXPECT_THAT(after, HasSubstr("game5:49310 " + kFirst + " 2026-01-0\x01\n"));
    EXPECT_THAT(after, HasSubstr("game1:49310 " + kFirst + " " + kv::trustDateToday() + "\n"));
}

TEST_F(TrustStoreTest, HostNamesThatCouldBreakALineAreRefused) {
    for (std::string host :
         {std::string(), std::string("a b"), std::string("a\tb"), std::string("a#b"), std::string("a:1"),
          "evil:1 " + kFirst + " 2026-01-01\nb", std::string("a\x7f"), std::string(256, 'a')}) {
        EXPECT_FALSE(store.record(host, 49310, kFirst)) << host;
        std::optional<TrustEntry> found;
        EXPECT_FALSE(store.find(host, 49310, found)) << host;
    }
    EXPECT_FALSE(kv::fileExists(path));
    EXPECT_FALSE(store.record("game1", 49310, "AB:CD"));
    EXPECT_FALSE(store.record("game1", 0, kFirst));
    EXPECT_TRUE(store.record(std::string(255, 'a'), 49310, kFirst)) << store.error();
}

TEST_F(TrustStoreTest, AFileLargerThanTheCapIsRefusedAndLeftAlone) {
    const std::string big(TrustStore::kMaxFileBytes + 1, '#');
    ASSERT_FALSE(dir.write("new folder/known_agents", big).empty());
    std::optional<TrustEntry> found;
    EXPECT_FALSE(store.find("game1", 49310, found));
    EXPECT_THAT(store.error(), HasSubstr("1 MiB"));
    EXPECT_FALSE(store.record("game1", 49310, kFirst));
    EXPECT_EQ(kv::fileSize(path), static_cast<long long>(big.size()));
}

TEST_F(TrustStoreTest, WritersAtTheSameTimeKeepEachOthersEntries) {
    constexpr int kEach = 20;
    auto writer = [&](const std::string& prefix) {
        TrustStore own(path); // as another program would
        for (int i = 0; i < kEach; ++i)
            EXPECT_TRUE(own.record(prefix + std::to_string(i), 49310, kFirst)) << own.error();
    };
    std::thread first(writer, "left");
    std::thread second(writer, "right");
    first.join();
    second.join();
    EXPECT_EQ(agentsIn(store).size(), 2u * kEach);
}

TEST(TrustStoreDefault, FollowsXdgDataHomeThenHome) {
    const char* savedXdg = std::getenv("XDG_DATA_HOME");
    const std::string xdg = savedXdg ? savedXdg : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";

    ::setenv("XDG_DATA_HOME", "/data/me", 1);
    EXPECT_EQ(TrustStore::defaultPath(), "/data/me/KV Server Manager/known_agents");
    ::setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored, as the XDG rules say
    ::setenv("HOME", "/home/me", 1);
    EXPECT_EQ(TrustStore::defaultPath(), "/home/me/.local/share/KV Server Manager/known_agents");

    savedXdg ? ::setenv("XDG_DATA_HOME", xdg.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", home.c_str(), 1);
}

} // namespace
