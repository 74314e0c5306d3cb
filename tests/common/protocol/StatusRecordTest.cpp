#include "common/protocol/StatusRecord.h"
#include "common/protocol/StatusRecordParser.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace kv::protocol;

namespace {

void parseAll(const std::string& text, StatusRecord& record) {
    StatusRecordParser parser(record);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (parser.add(line))
            break;
}

TEST(StatusRecord, RoundTripsEveryFieldThatTheClientReads) {
    StatusRecord sent;
    sent.status = "Running";
    sent.mapFile = "Harbor.kvm";
    sent.setupName = "CTF";
    sent.gameAdminPassword = "adm";
    sent.gamePlayerPassword = "";
    sent.description = "First line\nSecond line";
    sent.totalUpTimeMinutes = 125;
    sent.serverCrashes = -1;
    sent.currentRamKiB = 1024;
    sent.peakRamKiB = 2048;
    sent.currentPageFileKiB = 7;
    std::string text = formatStatusRecord(sent);
    EXPECT_NE(text.find("CurrentPageFileUsage=7\nPeakPageFileUsage=0\n[StartOfDescription]\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("Second line\n[EndOfDescription]\n[EndOfServerStatus]\n"));

    StatusRecord got;
    got.gamePlayerPassword = "kept?";
    got.currentPageFileKiB = 99; // page-file lines are not read
    parseAll(text, got);
    EXPECT_EQ(got.status, "Running");
    EXPECT_EQ(got.mapFile, "Harbor.kvm");
    EXPECT_EQ(got.setupName, "CTF");
    EXPECT_EQ(got.gameAdminPassword, "adm");
    EXPECT_EQ(got.gamePlayerPassword, "");
    EXPECT_EQ(got.description, "First line\nSecond line\n");
    EXPECT_EQ(got.totalUpTimeMinutes, 125u);
    EXPECT_EQ(got.serverCrashes, -1);
    EXPECT_EQ(got.currentRamKiB, 1024);
    EXPECT_EQ(got.peakRamKiB, 2048);
    EXPECT_EQ(got.currentPageFileKiB, 99);
}

TEST(StatusRecord, KeysInAnyCaseMissingFieldsKeptAndTheEndStopsReading) {
    StatusRecord got;
    got.mapFile = "old map";
    got.description = "old";
    parseAll("STATUS=Crashed\nservercrashes= 3x\nNoSuchKey=1\n[endofserverstatus]\nSetupName=late\n", got);
    EXPECT_EQ(got.status, "Crashed");
    EXPECT_EQ(got.serverCrashes, 3);
    EXPECT_EQ(got.mapFile, "old map");
    EXPECT_EQ(got.description, "old");
    EXPECT_EQ(got.setupName, "");
}

TEST(StatusRecord, InsideTheDescriptionKeysAndTheRecordEndAreText) {
    StatusRecord got;
    parseAll("[StartOfDescription]\nStatus=Fake\n[EndOfServerStatus]\n[EndOfDescription]\nStatus=Real\n", got);
    EXPECT_EQ(got.description, "Status=Fake\n[EndOfServerStatus]\n");
    EXPECT_EQ(got.status, "Real");
}

} // namespace
