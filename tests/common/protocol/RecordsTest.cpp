#include "common/protocol/DescriptionText.h"
#include "common/protocol/FileTransfer.h"
#include "common/protocol/HostAndPort.h"
#include "common/protocol/ListRecords.h"

#include <gtest/gtest.h>

using namespace kv::protocol;

namespace {

TEST(ListRecords, FormatsAndReadsBack) {
    EXPECT_EQ(formatConfigurationRecord("CTF", "Harbor", "LAN", 1700000000), "CTF,Harbor,LAN,1700000000\n");
    EXPECT_EQ(formatFileRecord("pbsv.cfg", 5, 120), "pbsv.cfg,5,120\n");
    EXPECT_EQ(formatScreenshotRecord("pb000.png", 5, 5000000000LL), "pb000.png,5,5000000000\n");

    auto config = parseConfigurationRecord("CTF,Harbor,LAN,1700000000");
    ASSERT_TRUE(config);
    EXPECT_EQ(config->name, "CTF");
    EXPECT_EQ(config->map, "Harbor");
    EXPECT_EQ(config->runMode, "LAN");
    EXPECT_EQ(config->lastWrite, 1700000000);
    auto file = parseFileRecord("pb000.png,5,5000000000");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size, 5000000000LL);
}

TEST(ListRecords, AnEmptyFieldShiftsTheLaterOnesButTheTimeStaysLast) {
    auto config = parseConfigurationRecord("CTF,,GLOBAL,77");
    ASSERT_TRUE(config);
    EXPECT_EQ(config->map, "GLOBAL");
    EXPECT_EQ(config->runMode, "");
    EXPECT_EQ(config->lastWrite, 77);
    EXPECT_FALSE(parseConfigurationRecord("lonely"));
    EXPECT_FALSE(parseFileRecord("a,1"));
    EXPECT_FALSE(parseFileRecord("a,1,2,3"));
}

TEST(ListRecords, TheListEndsAtAnEmptyLineOrTheMarkerInAnyCase) {
    EXPECT_TRUE(isEndOfList(""));
    EXPECT_TRUE(isEndOfList("[endoflist]"));
    EXPECT_FALSE(isEndOfList("[EndOfList]x"));
}

TEST(FileTransfer, SizeLinesAndBlocks) {
    EXPECT_EQ(formatSizeLine(8193), "8193\n");
    EXPECT_EQ(formatSizeLine(0), "0\n");
    EXPECT_EQ(parseSizeLine("  8193abc"), 8193);
    EXPECT_EQ(parseSizeLine("nothing"), 0);
    // A file of 2 GiB or more comes out negative in 32 bits and cannot be downloaded.
    EXPECT_EQ(formatSizeLine(0x80000000LL), "-2147483648\n");
    EXPECT_FALSE(parseSizeLine("-2147483648"));
    EXPECT_EQ(nextBlockSize(8193, 0), 8192);
    EXPECT_EQ(nextBlockSize(8193, 8192), 1);
    EXPECT_EQ(nextBlockSize(8192, 8192), 0);
}

TEST(FileTransfer, EndMarkersArePrefixesButReadyMarkersWholeLines) {
    EXPECT_TRUE(isEndMarker("[endoffile] and more", "[EndOfFile]"));
    EXPECT_FALSE(isEndMarker(" [EndOfFile]", "[EndOfFile]"));
    EXPECT_TRUE(isMarker("[sendsetup]", "[SendSetup]"));
    EXPECT_FALSE(isMarker("[SendSetup] ", "[SendSetup]"));
    EXPECT_FALSE(isMarker("[AbortSend]", "[SendFile]"));
}

TEST(Description, OnlyTheExactEndLineEndsIt) {
    DescriptionCollector collector;
    EXPECT_FALSE(collector.add("A"));
    EXPECT_FALSE(collector.add("[EndDescription] is not the end"));
    EXPECT_FALSE(collector.add("[enddescription]"));
    EXPECT_FALSE(collector.add("B"));
    EXPECT_TRUE(collector.add("[EndDescription]"));
    EXPECT_EQ(collector.stored(), "A0xA[EndDescription] is not the end0xA[enddescription]0xAB0xA");
    EXPECT_EQ(descriptionFromStored("A0xAB0xA"), "A\nB\n");
}

TEST(HostAndPort, ThePortIsOptional) {
    auto plain = parseHostAndPort("game.example.org", 49310);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->host, "game.example.org");
    EXPECT_EQ(plain->port, 49310u);
    auto withPort = parseHostAndPort(" 127.0.0.1:5000 ", 49310);
    ASSERT_TRUE(withPort);
    EXPECT_EQ(withPort->host, "127.0.0.1");
    EXPECT_EQ(withPort->port, 5000u);
    for (const char* bad : {"", ":5000", "host:", "host:0", "host:65536", "host:12x", "a:b:1", "host:123456"})
        EXPECT_FALSE(parseHostAndPort(bad, 49310)) << bad;
}

} // namespace
