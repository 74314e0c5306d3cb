#include "manager/setups/SetupLibrary.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "manager/setups/ShippedData.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <sys/stat.h>

using namespace kv::setups;

namespace {

class LibraryTest : public ::testing::Test {
protected:
    void add(const std::string& file, const std::string& text) { dir.write("Server Setups/" + file, text); }
    std::vector<std::string> rows() {
        std::vector<LibraryEntry> entries = library.refresh();
        sortEntries(entries);
        std::vector<std::string> out;
        for (const LibraryEntry& e : entries)
            out.push_back(std::string(rootLabel(e.root)) + "|" + e.category + "|" + e.name);
        return out;
    }
    bool exists(const std::string& file) const { return kv::fileExists(dir.file("Server Setups/" + file)); }

    kv::test::TempDir dir;
    kv::test::ManualClock clock;
    SetupLibrary library{dir.path(), clock};
};

} // namespace

TEST_F(LibraryTest, EmptyFolderIsCreatedAndListsNothing) {
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(kv::directoryExists(dir.file("Server Setups")));
}

TEST_F(LibraryTest, CategoriesAndOrder) {
    add("b.ServerConfig", "m_csName=Bravo\nm_csMapName=Cinder Pass\n");
    add("a.ServerConfig", "m_csName=Alpha\nm_csMapName=Cinder Pass\n");
    add("r.SERVERCONFIG", "m_csName=Rotor\nm_fCycleMaps=1\nm_acsCycleMapList[0]=A\nm_acsCycleMapList[1]=B\n"
                          "m_acsCycleMapList[2]=C\nm_acsCycleMapList[7]=D\nm_acsCycleMapList[8]=E\n");
    add("t1.ServerConfig", "m_csName=Final\nm_fTournamentModeEnabled=1\nm_csTournamentEventName=Cup\n"
                           "m_iMaxTeamSize=6\n");
    add("t2.ServerConfig", "m_csName=Open\nm_fTournamentModeEnabled=1\nm_iMaxTeamSize=6\n");
    add("notes.txt", "m_csName=Not a setup file\n");
    EXPECT_EQ(rows(), (std::vector<std::string>{
                          "Standard Server Setups|Cinder Pass|Alpha",
                          "Standard Server Setups|Cinder Pass|Bravo",
                          "Standard Server Setups|Rotating Through 5 Maps|Rotor",
                          "Tournament Server Setups|6 on 6 Tournaments|Open",
                          "Tournament Server Setups|Cup - 6 on 6 Tournament|Final",
                      }));
}

TEST_F(LibraryTest, EmptyFilesAreDeletedOnceOldAndBadOnesSkipped) {
    add("Empty.ServerConfig", "");
    add("NoName.ServerConfig", "m_iMaxPlayers=3\n");
    add("Good.ServerConfig", "m_csName=Good\n");
    add("Huge.ServerConfig", "m_csName=Huge\n" + std::string(2 * 1024 * 1024, 'x'));
    ASSERT_TRUE(kv::makeDirectories(dir.file("Server Setups/Folder.ServerConfig")));
    // An empty file may be a download in progress: it stays while it is fresh.
    clock.seconds = *kv::fileModifiedSeconds(dir.file("Server Setups/Empty.ServerConfig")) + 1;
    EXPECT_EQ(rows(), (std::vector<std::string>{"Standard Server Setups||Good"}));
    EXPECT_TRUE(exists("Empty.ServerConfig"));
    clock.seconds += 60;
    EXPECT_EQ(rows(), (std::vector<std::string>{"Standard Server Setups||Good"}));
    EXPECT_FALSE(exists("Empty.ServerConfig"));
    EXPECT_TRUE(exists("NoName.ServerConfig"));
}

TEST_F(LibraryTest, OperationsActOnTheGivenFileWhateverNameItHolds) {
    // An e-mailed file whose title differs from the setup name inside it.
    add("Mine.ServerConfig", "m_csName=Other\nm_iMaxPlayers=5\n");
    add("Other.ServerConfig", "m_csName=Other\nm_iMaxPlayers=7\n");
    const std::string mine = dir.file("Server Setups/Mine.ServerConfig");
    LibraryResult copied = library.copy(mine);
    ASSERT_TRUE(copied.ok) << copied.message;
    ServerSetup copy;
    ASSERT_TRUE(library.store().load(copied.path, copy));
    EXPECT_EQ(copy.m_iMaxPlayers, 5);
    struct stat st {};
    ASSERT_EQ(::stat(copied.path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u); // setups hold passwords
    // A copy name taken in another letter case counts as taken.
    EXPECT_FALSE(library.copy(dir.file("Server Setups/Other.ServerConfig")).ok);

    ASSERT_TRUE(library.remove(mine).ok);
    EXPECT_FALSE(exists("Mine.ServerConfig"));
    EXPECT_TRUE(exists("Other.ServerConfig"));
    // Nothing outside the library is deleted, whatever path is given.
    const std::string outside = dir.write("elsewhere/Victim.ServerConfig", "m_csName=Victim\n");
    EXPECT_FALSE(library.remove(outside).ok);
    EXPECT_TRUE(kv::fileExists(outside));
}

TEST_F(LibraryTest, CopyOnceThenRefuse) {
    add("Base.ServerConfig", "m_csName=Base\nm_csMapName=Cinder Pass\nm_iMaxPlayers=12\n");
    LibraryResult first = library.copy("Base");
    ASSERT_TRUE(first.ok) << first.message;
    EXPECT_EQ(first.name, "Base (Copy)");
    ServerSetup copy;
    ASSERT_TRUE(library.store().load("Base (Copy)", copy));
    EXPECT_EQ(copy.m_iMaxPlayers, 12);

    LibraryResult second = library.copy("Base");
    EXPECT_FALSE(second.ok);
    EXPECT_EQ(second.message, "You have already made a copy of this server setup.  You must rename the copy "
                              "before creating another copy of it.");
    EXPECT_FALSE(library.copy("Nobody").ok);
}

TEST_F(LibraryTest, CopyNeverOverwritesACopyInAnotherCategory) {
    add("Base.ServerConfig", "m_csName=Base\nm_csMapName=Cinder Pass\n");
    add("Base (Copy).ServerConfig", "m_csName=Base (Copy)\nm_csMapName=Redwater Dam\nm_iMaxPlayers=4\n");
    EXPECT_FALSE(library.copy("Base").ok);
    ServerSetup kept;
    ASSERT_TRUE(library.store().load("Base (Copy)", kept));
    EXPECT_EQ(kept.m_iMaxPlayers, 4);
}

TEST_F(LibraryTest, DeleteRemovesTheSetupAndItsLegacyDescription) {
    add("Gone.ServerConfig", "m_csName=Gone\n");
    add("Gone.ServerConfigDescription", "old text\n");
    ASSERT_TRUE(library.remove("Gone").ok);
    EXPECT_FALSE(exists("Gone.ServerConfig"));
    EXPECT_FALSE(exists("Gone.ServerConfigDescription"));
    LibraryResult again = library.remove("Gone");
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(again.message, "There is no server setup named \"Gone\".");
    EXPECT_FALSE(library.remove("../Server Setups/x").ok);
}

TEST_F(LibraryTest, ImportAddsRefusesReplacesAndRenames) {
    const std::string mail = dir.write("mail/Mine.ServerConfig", "m_csName=Mine\nm_iMaxPlayers=8\n");
    EXPECT_FALSE(library.importNameExists(mail));
    LibraryResult added = library.import(mail, ImportChoice::RefuseExisting);
    ASSERT_TRUE(added.ok) << added.message;
    EXPECT_EQ(added.name, "Mine");

    dir.write("mail/Mine.ServerConfig", "m_csName=Mine\nm_iMaxPlayers=9\n");
    EXPECT_TRUE(library.importNameExists(mail));
    LibraryResult refused = library.import(mail, ImportChoice::RefuseExisting);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message,
              "The server setup you are trying to add already exists in your server configuration list.");
    ServerSetup s;
    ASSERT_TRUE(library.store().load("Mine", s));
    EXPECT_EQ(s.m_iMaxPlayers, 8);

    ASSERT_TRUE(library.import(mail, ImportChoice::Replace).ok);
    ServerSetup replaced;
    ASSERT_TRUE(library.store().load("Mine", replaced));
    EXPECT_EQ(replaced.m_iMaxPlayers, 9);

    clock.seconds = kv::test::localMoment(2026, 12, 6, 13, 5);
    LibraryResult renamed = library.import(mail, ImportChoice::Rename);
    ASSERT_TRUE(renamed.ok) << renamed.message;
    EXPECT_EQ(renamed.name, "Mine - Added 12-6-2026 at 1305");
    ServerSetup dated;
    ASSERT_TRUE(library.store().load("Mine - Added 12-6-2026 at 1305", dated));
    EXPECT_EQ(dated.m_csName, "Mine - Added 12-6-2026 at 1305");
    EXPECT_EQ(dated.m_iMaxPlayers, 9);
    // The same minute again never overwrites: a further number is added.
    LibraryResult again = library.import(mail, ImportChoice::Rename);
    ASSERT_TRUE(again.ok) << again.message;
    EXPECT_EQ(again.name, "Mine - Added 12-6-2026 at 1305 (2)");
    EXPECT_EQ(dated.m_iMaxPlayers, 9);

    // Names differing in letter case collide; a library file imported onto itself stays whole.
    EXPECT_TRUE(library.importNameExists(dir.write("mail/MINE.ServerConfig", "m_csName=MINE\n")));
    const std::string own = dir.file("Server Setups/Mine.ServerConfig");
    ASSERT_TRUE(library.import(own, ImportChoice::Replace).ok);
    ServerSetup whole;
    ASSERT_TRUE(library.store().load(own, whole));
    EXPECT_EQ(whole.m_iMaxPlayers, 9);
    // A title that cannot be a setup name is refused.
    EXPECT_FALSE(library.import(dir.write("mail/bad\x01name.ServerConfig", "m_csName=x\n"), ImportChoice::Replace).ok);
}

TEST_F(LibraryTest, ImportRefusesFilesThatAreNoSetup) {
    EXPECT_FALSE(library.import(dir.file("missing.ServerConfig"), ImportChoice::Replace).ok);
    const std::string junk = dir.write("junk.ServerConfig", "hello\n");
    LibraryResult result = library.import(junk, ImportChoice::Replace);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("is not a server setup"), std::string::npos);
    EXPECT_FALSE(exists("junk.ServerConfig"));
}

// A pipe named like a setup has no writer: opening it would block the listing, a load or an import for good.
TEST_F(LibraryTest, PipesAndDevicesAreNoSetups) {
    add("Good.ServerConfig", "m_csName=Good\n");
    ASSERT_EQ(::mkfifo(dir.file("Server Setups/Pipe.ServerConfig").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.file("Server Setups/Good.ServerConfigDescription").c_str(), 0600), 0);
    EXPECT_EQ(rows(), (std::vector<std::string>{"Standard Server Setups||Good"}));
    ServerSetup s;
    EXPECT_FALSE(library.store().load("Pipe", s));
    ServerSetup good;
    ASSERT_TRUE(library.store().load("Good", good));
    EXPECT_TRUE(good.m_csSetupDescription.empty());
    EXPECT_FALSE(library.import(dir.file("Server Setups/Pipe.ServerConfig"), ImportChoice::Replace).ok);
    LibraryResult endless = library.import("/dev/zero", ImportChoice::Replace);
    EXPECT_FALSE(endless.ok);
    EXPECT_EQ(endless.message, "The file /dev/zero could not be read.");
}

TEST(ShippedData, MissingFilesAreCopiedAndExistingOnesKept) {
    kv::test::TempDir dir;
    const std::string work = dir.file("work");
    dir.write("work/MapInfo.xml", "mine");
    dir.write("work/LeagueInfo/Iron Circuit 4v4.dat", "mine");
    std::vector<std::string> copied = prepareWorkingFolder(work, KV_TEST_DATA_DIR);
    EXPECT_EQ(copied,
              (std::vector<std::string>{"ConfigurationTemplate.ini", "LeagueInfo/Harbor Ladder Standard.dat",
                                        "LeagueInfo/Harbor Ladder Standard.html", "LeagueInfo/Instructions.html",
                                        "LeagueInfo/Iron Circuit 4v4.html", "LeagueInfo/LeagueInfoStyle.css",
                                        "LeagueInfo/Northern Frontier League 6v6.dat",
                                        "LeagueInfo/Northern Frontier League 6v6.html"}));
    EXPECT_EQ(kv::readFile(work + "/MapInfo.xml"), "mine");
    EXPECT_EQ(kv::readFile(work + "/LeagueInfo/Iron Circuit 4v4.dat"), "mine");
    EXPECT_EQ(kv::readFile(work + "/LeagueInfo/Instructions.html"),
              kv::readFile(std::string(KV_TEST_DATA_DIR) + "/LeagueInfo/Instructions.html"));
    EXPECT_TRUE(prepareWorkingFolder(work, KV_TEST_DATA_DIR).empty());
    EXPECT_EQ(kv::readFile(work + "/ConfigurationTemplate.ini"),
              kv::readFile(std::string(KV_TEST_DATA_DIR) + "/ConfigurationTemplate.ini"));
    EXPECT_TRUE(kv::directoryExists(work + "/Server Setups"));
    EXPECT_EQ(findShippedDataFolder({dir.file("nothing"), KV_TEST_DATA_DIR}), KV_TEST_DATA_DIR);
}
