#include "manager/core/BanList.h"
#include "manager/core/HostBanFile.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/LocalTime.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kv::core {
namespace {

BanEntry entry(std::string type, std::string value, std::int32_t endTime, std::string name) {
    return BanEntry{std::move(type), std::move(value), endTime, std::move(name)};
}

std::string localDateText(std::int32_t seconds) {
    const LocalTime t = toLocalTime(seconds);
    return std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year);
}

TEST(BanList, LineFormatIsTheDesignedOne) {
    EXPECT_EQ(banFileLine(entry("IP", "192.0.2.7", 2000000000, "Raven")), "IP,192.0.2.7,2000000000,0,\"Raven\"\n");
    EXPECT_EQ(banFileLine(entry("NAME", "Moth", 0, "Moth")), "NAME,Moth,0,0,\"Moth\"\n");
    EXPECT_EQ(banFileLine(entry("MAC", "00-0C-29-AA-BB-CC", -5, "")), "MAC,00-0C-29-AA-BB-CC,-5,0,\"\"\n");
}

TEST(BanList, LengthTextIsPermanentOrTheLocalDate) {
    EXPECT_EQ(banLengthText(0), "Permanent");
    EXPECT_EQ(banLengthText(2000000000), localDateText(2000000000));
    EXPECT_EQ(banLengthText(INT32_MAX), localDateText(INT32_MAX));
}

TEST(BanList, ImportingTheSameTextTwiceAddsItsEntriesOnce) {
    const std::string master = "NAME,Raven,0,0,\"Raven\"\nIP,192.0.2.7,2000000000,0,\"Moth\"\n";
    BanList list{entry("MAC", "00-11-22-33-44-55", 0, "Kite")};
    EXPECT_EQ(mergeBanListText(master, list), 2u);
    EXPECT_EQ(mergeBanListText(master, list), 0u);
    ASSERT_EQ(list.size(), 3u);
    // The file's rows go on top, in reverse; what was there stays below.
    EXPECT_EQ(list[0], entry("IP", "192.0.2.7", 2000000000, "Moth"));
    EXPECT_EQ(list[1], entry("NAME", "Raven", 0, "Raven"));
    EXPECT_EQ(list[2], entry("MAC", "00-11-22-33-44-55", 0, "Kite"));
}

TEST(BanList, DuplicatesAreFoundWithoutRegardToCaseQuotesOrTimeOfDay) {
    BanList list{entry("NAME", "Raven", 1700000000, "Raven")};
    const std::string sameDay = "name,RAVEN," + std::to_string(1700000000 + 1) + ",7,RAVEN\n";
    // Only when the second lands on the same local date is it the same length text.
    const bool sameDate = banLengthText(1700000000) == banLengthText(1700000001);
    EXPECT_EQ(mergeBanListText(sameDay, list), sameDate ? 0u : 1u);
    EXPECT_EQ(mergeBanListText("NAME,Raven,0,0,\"Raven\"\n", list), 1u) << "permanent is another length";
    EXPECT_EQ(mergeBanListText("NAME,Raven,0,0,\"Raven \"\n", list), 1u) << "another player name";
}

TEST(BanList, PermanentBanSurvivesAWriteAndARead) {
    test::TempDir dir;
    const std::string file = dir.file("MasterBanList.ini");
    ASSERT_TRUE(writeBanListFile(file, {entry("NAME", "Raven", 0, "Raven")}));
    BanList read;
    EXPECT_EQ(mergeBanListFile(file, read), 1u);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].endTime, 0);
    EXPECT_EQ(banLengthText(read[0].endTime), "Permanent");
}

TEST(BanList, ALineWithFourFieldsIsSkipped) {
    BanList list;
    EXPECT_EQ(mergeBanListText("NAME,Raven,0,0\nIP,192.0.2.7,0,0,\"Moth\"\n,,,\n\n", list), 1u);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].value, "192.0.2.7");
}

TEST(BanList, ConsecutiveCommasCountAsOneAndExtraFieldsAreIgnored) {
    BanList list;
    EXPECT_EQ(mergeBanListText(",NAME,,Raven,,,0,,0,\"Raven\",extra\n", list), 1u);
    EXPECT_EQ(list[0], entry("NAME", "Raven", 0, "Raven"));
}

TEST(BanList, APlayerNameWithoutQuotesIsShownUnchanged) {
    BanList list;
    mergeBanListText("NAME,Raven,0,0,Raven the Bold\nIP,192.0.2.7,0,0,\"Moth\"\nIP,192.0.2.8,0,0,\"Kite\n", list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2].playerName, "Raven the Bold");
    EXPECT_EQ(list[1].playerName, "Moth");
    EXPECT_EQ(list[0].playerName, "Kite") << "an opening quote alone goes, and nothing else";
}

TEST(BanList, ACrLfFileLosesOnlyItsLineEnds) {
    test::TempDir dir;
    const std::string file = dir.write("BanFile192.0.2.1.txt", "NAME,Raven,0,0,\"Raven\"\r\nIP,192.0.2.7,0,0,Moth\r\n");
    BanList list;
    EXPECT_EQ(mergeBanListFile(file, list), 2u);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].playerName, "Moth");
    EXPECT_EQ(list[1].playerName, "Raven");
}

TEST(BanList, TheLastLineWithoutALineEndKeepsItsLastCharacter) {
    BanList list;
    mergeBanListText("NAME,Raven,0,0,Raven", list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].playerName, "Raven");
}

TEST(BanList, EndTimesFollowTheDecimalRuleAndStayWithin32Bits) {
    BanList list;
    mergeBanListText("IP,a,  42abc,0,x\nIP,b,99999999999,0,x\nIP,c,-99999999999,0,x\nIP,d,never,0,x\n", list);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[3].endTime, 42);
    EXPECT_EQ(list[2].endTime, INT32_MAX);
    EXPECT_EQ(list[1].endTime, INT32_MIN);
    EXPECT_EQ(list[0].endTime, 0);
}

TEST(BanList, OverLongLinesAreReadInPiecesOfTheFormatsLimit) {
    const std::string name(5000, 'a');
    BanList list;
    // The first piece holds five fields (a name cut short); the rest of the line is one field and is skipped.
    EXPECT_EQ(mergeBanListText("NAME,Raven,0,0,\"" + name + "\"\nIP,192.0.2.7,0,0,\"Moth\"\n", list), 2u);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].playerName.size(), kBanLineLimit - std::string("NAME,Raven,0,0,\"").size());
}

TEST(BanList, ANulByteEndsWhatIsReadOfALine) {
    BanList list;
    using namespace std::string_literals;
    mergeBanListText("NAME,Raven,0,0,\"Rav\0en\"\nIP,x\0,0,0,y\n"s, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].playerName, "Rav");
    EXPECT_TRUE(banEntryProblem(list[0]).empty());
}

TEST(BanList, AMissingFileAddsNothing) {
    test::TempDir dir;
    BanList list{entry("NAME", "Raven", 0, "Raven")};
    EXPECT_EQ(mergeBanListFile(dir.file("MasterBanList.ini"), list), 0u);
    EXPECT_EQ(list.size(), 1u);
}

TEST(BanList, FieldProblemsRefuseWhatTheFormatCannotHold) {
    EXPECT_EQ(banFieldProblem("Raven"), "");
    EXPECT_EQ(banFieldProblem(""), "");
    EXPECT_EQ(banFieldProblem("192.0.2.*"), "");
    EXPECT_NE(banFieldProblem("Raven,Moth"), "");
    EXPECT_NE(banFieldProblem("Raven \"the Bold\""), "");
    EXPECT_NE(banFieldProblem("Raven\nMoth"), "");
    EXPECT_NE(banFieldProblem("Raven\r"), "");
    EXPECT_NE(banFieldProblem("Raven\tMoth"), "");
    EXPECT_NE(banFieldProblem(std::string(kBanFieldLimit + 1, 'x')), "");
    EXPECT_EQ(banFieldProblem(std::string(kBanFieldLimit, 'x')), "");
}

TEST(BanList, AnEntryThatWouldBreakTheFileIsNeverWritten) {
    test::TempDir dir;
    const std::string file = dir.write("MasterBanList.ini", "NAME,Raven,0,0,\"Raven\"\n");
    std::string error;
    EXPECT_FALSE(writeBanListFile(file, {entry("NAME", "Moth", 0, "Moth"), entry("NAME", "a,b", 0, "x")}, &error));
    EXPECT_NE(error.find("a,b"), std::string::npos) << error;
    EXPECT_EQ(readFile(file).value_or(""), "NAME,Raven,0,0,\"Raven\"\n");
    EXPECT_FALSE(writeBanListFile(file, {entry("NAME", "Moth", 0, "line\nbreak")}));
    EXPECT_FALSE(writeBanListFile(file, {entry("IP", std::string("x\0y", 3), 0, "")}));
    EXPECT_EQ(readFile(file).value_or(""), "NAME,Raven,0,0,\"Raven\"\n");
}

TEST(BanList, WrittenTopToBottomAndReadBackReversed) {
    test::TempDir dir;
    const std::string file = dir.file("MasterBanList.ini");
    const BanList list{entry("NAME", "Raven", 0, "Raven"), entry("IP", "192.0.2.7", 2000000000, "Moth")};
    ASSERT_TRUE(writeBanListFile(file, list));
    EXPECT_EQ(readFile(file).value_or(""), "NAME,Raven,0,0,\"Raven\"\nIP,192.0.2.7,2000000000,0,\"Moth\"\n");
    BanList read;
    mergeBanListFile(file, read);
    EXPECT_EQ(read, (BanList{list[1], list[0]}));
    ASSERT_TRUE(writeBanListFile(file, {}));
    EXPECT_EQ(readFile(file).value_or("x"), "");
}

TEST(BanList, TheRecordGrowsOnlyByLinesItDoesNotHold) {
    test::TempDir dir;
    const std::string record = dir.file("MasterBanList.txt");
    EXPECT_TRUE(appendBanListRecord(record, {}));
    EXPECT_FALSE(fileExists(record));
    const BanEntry raven = entry("NAME", "Raven", 0, "Raven"), moth = entry("IP", "192.0.2.7", 0, "Moth");
    ASSERT_TRUE(appendBanListRecord(record, {raven}));
    ASSERT_TRUE(appendBanListRecord(record, {moth, raven, moth})); // a list saved again adds only what is new
    EXPECT_TRUE(appendBanListRecord(record, {}));
    const std::string both = "NAME,Raven,0,0,\"Raven\"\nIP,192.0.2.7,0,0,\"Moth\"\n";
    EXPECT_EQ(readFile(record).value_or(""), both);

    // A hand-edited record: CRLF lines count as held, and a last line without its end is not joined.
    ASSERT_TRUE(writeFileAtomically(record, "NAME,Raven,0,0,\"Raven\"\r\nMAC,00-11,0,0,\"Kite\""));
    ASSERT_TRUE(appendBanListRecord(record, {raven, moth}));
    EXPECT_EQ(readFile(record).value_or(""),
              "NAME,Raven,0,0,\"Raven\"\r\nMAC,00-11,0,0,\"Kite\"\nIP,192.0.2.7,0,0,\"Moth\"\n");
}

TEST(HostBanFile, EachAgentHasAPlainFileOfItsOwn) {
    EXPECT_EQ(hostBanFileName("192.0.2.7"), "BanFile192.0.2.7.txt");
    EXPECT_EQ(hostBanFileName("192.0.2.7:49310"), "BanFile192.0.2.7.txt"); // the default port is the same agent
    EXPECT_EQ(hostBanFileName("192.0.2.7:50000"), "BanFile192.0.2.7_50000.txt");
    EXPECT_EQ(hostBanFileName("game1.example.org"), "BanFilegame1.example.org.txt");
    for (const char* unusable : {"", ":50000", "192.0.2.7:", "192.0.2.7:0", "192.0.2.7:65536", "192.0.2.7:5x", "../x",
                                 "a/b", "a b", "a\nb", "a:1:2", "a..b"})
        EXPECT_EQ(hostBanFileName(unusable), "") << unusable;
    EXPECT_EQ(hostBanFileName(std::string(201, 'a')), "");
}

TEST(HostBanFile, TheEarlierCopyIsMovedAsideAndTheUploadCopyIsRecordedOnce) {
    test::TempDir dir;
    const std::string file = dir.file("BanFile192.0.2.7.txt");
    EXPECT_TRUE(setAsideBanFile(file)); // nothing to move
    ASSERT_TRUE(writeFileAtomically(file + ".old", "older\n"));
    ASSERT_TRUE(writeFileAtomically(file, "IP,192.0.2.9,0,0,\"Stale\"\n"));
    EXPECT_TRUE(setAsideBanFile(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_EQ(readFile(file + ".old"), "IP,192.0.2.9,0,0,\"Stale\"\n");

    const BanList list{entry("NAME", "Raven", 0, "Raven")};
    ASSERT_TRUE(storeBanListForUpload(dir.path(), file, list));
    ASSERT_TRUE(storeBanListForUpload(dir.path(), file, list));
    EXPECT_EQ(readFile(file), "NAME,Raven,0,0,\"Raven\"\n");
    EXPECT_EQ(readFile(dir.file("MasterBanList.txt")), "NAME,Raven,0,0,\"Raven\"\n");
    std::string error;
    EXPECT_FALSE(storeBanListForUpload(dir.path(), dir.file("missing/BanFile.txt"), list, &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace kv::core
