// The anti-cheat tools' pure parts: the setting table, what is made of a host's lists, the texts of the lists, the
// name rule for new option files, the text that is written, and the local places.
#include "manager/remote/AntiCheatFiles.h"
#include "manager/remote/AntiCheatSettings.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Text.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <set>

using namespace kv::remote;

namespace {

void setZone(const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
}

} // namespace

TEST(AntiCheatFilesTest, TheSettingTableIsTheDesignedOneAndEveryDefaultIsStated) {
    const auto table = antiCheatSettings();
    ASSERT_EQ(table.size(), 44u);
    EXPECT_EQ(table[0].name, "sv_punkbuster ");
    EXPECT_EQ(table[0].syntax, "[0/1]");
    EXPECT_EQ(table[0].description, "Set to 1 to enable PunkBuster.  0 disables PunkBuster.");
    EXPECT_EQ(table[1].name, "PB_SV_AutoSs");
    EXPECT_EQ(table[1].description, "Set to 1 (default is 0) if you want the PB server to regularly retrieve screen "
                                    "shots from connected players.");
    EXPECT_EQ(table[14].name, "PB_SV_LanMask");
    EXPECT_EQ(table[14].syntax, "[IP Subnet Mask]");
    EXPECT_EQ(table[30].syntax, "[low_negative_score]");
    EXPECT_EQ(table[43].name, "PB_SV_UpdateGrace");
    // Every other name is unique and in the designed (alphabetical) order.
    std::set<std::string_view> names;
    for (std::size_t row = 1; row < table.size(); ++row) {
        EXPECT_TRUE(names.insert(table[row].name).second) << table[row].name;
        EXPECT_FALSE(table[row].description.empty()) << table[row].name;
        if (row > 2 && row != 5) { // ChangePeriod comes before ChangeMax, as designed
            EXPECT_LT(kv::toLowerAscii(table[row - 1].name), kv::toLowerAscii(table[row].name)) << table[row].name;
        }
    }
    const std::pair<const char*, const char*> defaults[] = {{"PB_SV_AutoSsFrom", "60 seconds"},
                                                            {"PB_SV_AutoSsTo", "1200 seconds"},
                                                            {"PB_SV_CQC", "default is 1"},
                                                            {"PB_SV_CvarFreq", "6 per minute"},
                                                            {"PB_SV_KickLen", "2 minutes"},
                                                            {"PB_SV_LogCeiling", "1000"},
                                                            {"PB_SV_MaxConDls", "3"},
                                                            {"PB_SV_MaxDlRate", "1 KB/sec"},
                                                            {"PB_SV_NoGuidGrace", "1 second"},
                                                            {"PB_SV_PowerDef", "1"},
                                                            {"PB_SV_PowerKickLen", "5 minutes"},
                                                            {"PB_SV_PowerMin", "10"},
                                                            {"PB_SV_SsCeiling", "100"},
                                                            {"PB_SV_SsFloor", "1"},
                                                            {"PB_SV_SsWidth", "320 pixels"},
                                                            {"PB_SV_SsHeight", "240 pixels"},
                                                            {"PB_SV_SsXPct", "50%"},
                                                            {"PB_SV_SsYPct", "50%"},
                                                            {"PB_SV_UpdateGrace", "600 seconds"},
                                                            {"PB_SV_GameAuth", "the KV:O server"}};
    for (const auto& [settingName, stated] : defaults) {
        const std::string_view name = settingName;
        const auto row = std::find_if(table.begin(), table.end(), [&](const auto& s) { return s.name == name; });
        ASSERT_NE(row, table.end()) << name;
        EXPECT_NE(row->description.find(stated), std::string_view::npos) << name;
    }

    // The game's own file offers only the switch; its line has two blanks before the placeholder.
    EXPECT_EQ(offeredSettings("PBSVGAME.cfg"), std::vector<std::size_t>{0});
    EXPECT_EQ(appendedSettingLine(table[0]), "\nsv_punkbuster  [0/1]\n");
    const std::vector<std::size_t> others = offeredSettings("pbsv.cfg");
    ASSERT_EQ(others.size(), 43u);
    EXPECT_EQ(others.front(), 1u);
    EXPECT_EQ(others.back(), 43u);
    EXPECT_EQ(settingDescriptionText(table[3]),
              "Syntax:\nPB_SV_AutoSsTo [Seconds]\n\nDescription:\n" + std::string(table[3].description));
}

TEST(AntiCheatFilesTest, HostListsBecomeRowsOnlyWithPlainNamesAndSaneNumbers) {
    EXPECT_EQ(parseOptionFileList({"pbsv.cfg,1,2", "PBSVGAME.CFG,1,2", "league.cfg,17,300", "Cup2.cfg", "league.cfg",
                                   "Upper.CFG", "../evil.cfg,1,1", "a b.cfg", "x.cfg.old", ".cfg", "semi;colon.cfg",
                                   std::string(600, 'a') + ".cfg", "under_score.cfg"}),
              (std::vector<std::string>{"league.cfg", "Cup2.cfg"}));

    const std::vector<AntiCheatFileRow> rows = parseAntiCheatIndex(
        {"pb000123.png,1700000000,20480", "pb.log,5,1536", "../../etc/passwd,1,1", "/abs.png,1,1", "..,1,1",
         "sub/x.png,1,1", "bad\\name.png,1,1", "x\r.png,1,1", "nofields.png", "two.png,1", "four.png,1,2,3",
         "neg.png,1,-5", "old.png,-1,5", std::string(200, 'n') + ".png,1,1", "kv-1_a.PNG,0,0"});
    EXPECT_EQ(rows, (std::vector<AntiCheatFileRow>{
                        {"pb000123.png", 1700000000, 20480}, {"pb.log", 5, 1536}, {"kv-1_a.PNG", 0, 0}}));
    std::vector<std::string> flood(kMaxAntiCheatRows + 10, "f.png,1,1");
    EXPECT_EQ(parseAntiCheatIndex(flood).size(), kMaxAntiCheatRows);

    EXPECT_EQ(fileSizeText(1536), "1.5K");
    EXPECT_EQ(fileSizeText(0), "0.0K");
    EXPECT_EQ(fileSizeText(1024 * 1024), "1024.0K");
    setZone("UTC");
    EXPECT_EQ(fileTimeText(1700000000), "11/14/2023 at 22:13:20");
    EXPECT_EQ(fileTimeText(3661), "1/1/1970 at 1:01:01");
    setZone("CET-1");
    EXPECT_EQ(fileTimeText(1700000000), "11/14/2023 at 23:13:20"); // local time
    setZone("UTC");

    EXPECT_EQ(checkOptionName(""), OptionNameCheck::Empty);
    EXPECT_EQ(checkOptionName("League2"), OptionNameCheck::Valid);
    for (const char* bad : {"my cfg", "a.b", "a-b", "../x", "\xc3\xa4", "x/"})
        EXPECT_EQ(checkOptionName(bad), OptionNameCheck::Invalid) << bad;
    EXPECT_EQ(checkOptionName(std::string(200, 'a')), OptionNameCheck::Invalid);
}

TEST(AntiCheatFilesTest, WrittenTextHasLineFeedsOnlyAndARoundTripKeepsTheBytes) {
    const std::string file = "sv_punkbuster 1\r\nPB_SV_SsWidth 320\n100% \"quoted\" %s\n";
    const std::string shown = editorTextFromFile(file);
    EXPECT_EQ(shown, "sv_punkbuster 1\nPB_SV_SsWidth 320\n100% \"quoted\" %s\n");
    EXPECT_EQ(fileTextFromEditor(shown), shown);
    EXPECT_EQ(editorTextFromFile(fileTextFromEditor(shown)), shown); // never a CR or a blank line more per trip
    EXPECT_EQ(fileTextFromEditor("a\r\nb\rc"), "a\nb\nc\n");
    EXPECT_EQ(fileTextFromEditor(""), "");
    EXPECT_EQ(editorTextFromFile("  lead and trail  \nlast"), "  lead and trail  \nlast\n"); // only line ends go

    EXPECT_EQ(endMarkerLine("a\nb\n"), std::nullopt);
    EXPECT_EQ(endMarkerLine("a\n[endoffile] trailing\nb\n"), 2u);
    EXPECT_EQ(endMarkerLine("a\n x [EndOfFile]\n"), std::nullopt);
    // A line so long that the upload cuts it: the cut must not begin with the marker either.
    EXPECT_EQ(endMarkerLine(std::string(16382, 'x') + "[EndOfFile]\n"), 1u);
}

TEST(AntiCheatFilesTest, LocalPlacesStayInsideTheWorkingFolderAndStaleCopiesMoveAside) {
    kv::test::TempDir dir;
    EXPECT_EQ(optionFileCopyPath(dir.path(), "10.0.0.5", "pbsv.cfg"), dir.file("10.0.0.5-pbsv.cfg"));
    // Two agents on one address keep copies of their own, with plain names.
    EXPECT_EQ(optionFileCopyPath(dir.path(), "10.0.0.5:2999", "pbsv.cfg"), dir.file("10.0.0.5_2999-pbsv.cfg"));
    EXPECT_EQ(optionFileCopyPath(dir.path(), "../x/y", "pbsv.cfg"), dir.file(".._x_y-pbsv.cfg"));
    EXPECT_EQ(cachedFilePath(dir.path(), false, "pb1.png"), dir.file("PBScreenshots/pb1.png"));
    EXPECT_EQ(cachedFilePath(dir.path(), true, "pb.log"), dir.file("PBLogs/pb.log"));

    const std::string shot = dir.file("shot.png");
    EXPECT_TRUE(needsFetch(shot, 4));
    ASSERT_TRUE(kv::writeFileAtomically(shot, ""));
    EXPECT_TRUE(needsFetch(shot, 0)); // empty: a broken earlier fetch
    ASSERT_TRUE(kv::writeFileAtomically(shot, "png!"));
    EXPECT_FALSE(needsFetch(shot, 4));
    EXPECT_TRUE(needsFetch(shot, 5)); // the host's file changed

    const std::string copy = dir.file("10.0.0.5-pbsv.cfg");
    EXPECT_TRUE(moveAside(copy)); // nothing to move
    ASSERT_TRUE(kv::writeFileAtomically(copy, "older"));
    ASSERT_TRUE(moveAside(copy));
    ASSERT_TRUE(kv::writeFileAtomically(copy, "newer"));
    ASSERT_TRUE(moveAside(copy));
    EXPECT_FALSE(kv::fileExists(copy));
    EXPECT_EQ(kv::readFile(copy + ".old"), "newer");
}
