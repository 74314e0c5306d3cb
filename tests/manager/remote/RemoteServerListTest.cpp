#include "manager/remote/RemoteServerList.h"

#include "common/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

using namespace kv::remote;

namespace {

std::string listFile(const kv::test::TempDir& dir) {
    return dir.file(std::string(kRemoteServerListFile));
}

} // namespace

// The remote server list arrives from earlier versions, hand edits and other people: it is read leniently but never
// lets a byte through that could end a line or a field of a file written from it.
TEST(RemoteServerListTest, ReadsEntriesAndDropsWhatCouldCorruptAField) {
    const std::string text = "[Servers]\r\nServer=Harbor,192.0.2.7,Admin,secret\r\n"
                             "server=Cup,,198.51.100.2,,Ref,pass\n"
                             "# Server=Commented,1.2.3.4,a,b\n"
                             "Server=Bell\x07Tower,203.0.113.9,Admin\n";
    const std::vector<RemoteServerEntry> entries = parseRemoteServerList(text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].serverName, "Harbor");
    EXPECT_EQ(entries[0].password, "secret");
    EXPECT_EQ(entries[1].address, "198.51.100.2"); // repeated commas count as one
    EXPECT_EQ(entries[1].adminName, "Ref");
    EXPECT_EQ(entries[2].serverName, "BellTower");
    EXPECT_TRUE(entries[2].password.empty());

    std::string flood;
    for (int i = 0; i < 5000; ++i)
        flood += "Server=S" + std::to_string(i) + ",10.0.0.1,a,b\n";
    EXPECT_EQ(parseRemoteServerList(flood).size(), kMaxRemoteServerEntries);
    const std::string longLine = "Server=" + std::string(100000, 'x') + ",1.2.3.4\n";
    const std::vector<RemoteServerEntry> cut = parseRemoteServerList(longLine);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_LE(cut[0].serverName.size(), kMaxRemoteServerLineBytes);
}

TEST(RemoteServerListTest, AnOpenAndCloseReversesTheFileAndTwoGiveItBackByteForByte) {
    kv::test::TempDir dir;
    const std::string original = "Server=Alpha,192.0.2.1,admin,pass word!\n"
                                 "Server=Bravo,192.0.2.2:49311,root,x\n"
                                 "Server=Charlie,198.51.100.3,ops,\n";
    dir.write(std::string(kRemoteServerListFile), original);

    std::vector<RemoteServerEntry> rows = loadRemoteServerRows(dir.path());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].serverName, "Charlie"); // the last line read is put at the top
    EXPECT_EQ(rows[2].password, "pass word!");
    EXPECT_EQ(rows[0].password, "");
    ASSERT_TRUE(saveRemoteServerRows(dir.path(), rows));
    EXPECT_EQ(kv::readFile(listFile(dir)).value_or(""), "Server=Charlie,198.51.100.3,ops,\n"
                                                        "Server=Bravo,192.0.2.2:49311,root,x\n"
                                                        "Server=Alpha,192.0.2.1,admin,pass word!\n");
    ASSERT_TRUE(saveRemoteServerRows(dir.path(), loadRemoteServerRows(dir.path())));
    EXPECT_EQ(kv::readFile(listFile(dir)).value_or(""), original);

    // The passwords are in plain text: only the owner may read the file, whatever it was before.
    struct stat st {};
    ASSERT_EQ(::stat(listFile(dir).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ::chmod(listFile(dir).c_str(), 0644);
    ASSERT_TRUE(writeRemoteServerList(dir.path(), rows));
    ASSERT_EQ(::stat(listFile(dir).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(RemoteServerListTest, OnlyTheLineEndIsTakenOffSoAPasswordKeepsItsLastCharacter) {
    // CR LF from a file copied over from Windows, a last line without its line end, and no line end at all.
    const auto entries = parseRemoteServerList("Server=A,1.2.3.4,adm,abc\r\nSERVER=B,5.6.7.8,adm,xyz");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].password, "abc");
    EXPECT_EQ(entries[1].serverName, "B"); // the key in any letter case
    EXPECT_EQ(entries[1].password, "xyz");
    // A lone CR is no line end of ours: it is a control character inside the field, and dropped from it.
    EXPECT_EQ(parseRemoteServerList("Server=A,1.2.3.4,adm,ab\r\r\n").at(0).password, "ab");
}

TEST(RemoteServerListTest, HostileFilesNeverGiveAFieldThatWouldWriteBackDifferently) {
    kv::test::TempDir dir;
    std::string hostile = "Server=\x1b[31mRed,1.2.3.4,a,b\n";     // escape sequence
    hostile += std::string("Server=Nul\0Name,1.2.3.4,a,b\n", 28); // NUL inside a field
    hostile += "Server=,,,,\n";                                   // nothing but separators
    hostile += "Server=Too,1.1.1.1,a,b,extra,fields\n";           // more fields than four
    hostile += "Serve=Near,1.1.1.1,a,b\n\xff\xfe\n";              // a wrong key and binary bytes
    hostile += std::string(300 * 1024, 'S');                      // past the bound
    dir.write(std::string(kRemoteServerListFile), hostile);
    const std::vector<RemoteServerEntry> rows = loadRemoteServerRows(dir.path());
    ASSERT_EQ(rows.size(), 4u);
    for (const RemoteServerEntry& e : rows)
        for (const std::string* field : {&e.serverName, &e.address, &e.adminName, &e.password})
            for (char c : *field)
                EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != ',' && c != 0x7F) << *field;
    EXPECT_EQ(rows[3].serverName, "[31mRed");
    EXPECT_EQ(rows[2].serverName, "NulName");
    EXPECT_EQ(rows[1], (RemoteServerEntry{}));
    EXPECT_EQ(rows[0].password, "b"); // the extra fields are not glued to it

    // What is written from them reads back the same.
    ASSERT_TRUE(saveRemoteServerRows(dir.path(), rows));
    EXPECT_EQ(parseRemoteServerList(kv::readFile(listFile(dir)).value_or("")).size(), 4u);
}

TEST(RemoteServerListTest, TheEditorsStorableFieldRule) {
    EXPECT_TRUE(isStorableField("Harbor Cup #1"));
    EXPECT_TRUE(isStorableField("p@ss;word=\"x\""));
    for (const char* bad : {"", "a,b", "line\nbreak", "cr\r", "tab\there", "\x7f"})
        EXPECT_FALSE(isStorableField(bad)) << bad;
}

TEST(RemoteServerListTest, AMissingFileIsAnEmptyListAndSavingItMakesAnEmptyFile) {
    kv::test::TempDir dir;
    EXPECT_TRUE(loadRemoteServerRows(dir.path()).empty());
    ASSERT_TRUE(saveRemoteServerRows(dir.path(), {}));
    EXPECT_EQ(kv::readFile(listFile(dir)), std::optional<std::string>(""));
    EXPECT_FALSE(saveRemoteServerRows(dir.file("no/such/folder"), {}));
}
