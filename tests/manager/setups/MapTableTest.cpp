#include "common/Files.h"
#include "common/Text.h"
#include "manager/setups/MapTable.h"

#include <gtest/gtest.h>

#include <set>

using namespace kv::setups;

namespace {

std::string mapBlock(const std::string& title, const std::string& extra = "") {
    return "<Map>\n<Title>" + title + "</Title>\n" + extra + "</Map>\n";
}

} // namespace

TEST(MapTable, BuiltInTableHoldsTheGamesMaps) {
    const MapTable maps = MapTable::builtIn();
    ASSERT_EQ(maps.size(), 39u);
    std::set<std::string> titles;
    int cooperative = 0;
    int notForTournaments = 0;
    for (std::size_t i = 0; i < maps.size(); ++i) {
        const MapInfo& m = maps.row(i);
        EXPECT_TRUE(titles.insert(kv::toLowerAscii(m.title)).second) << m.title;
        EXPECT_TRUE(m.name.ends_with(".kvo")) << m.name;
        EXPECT_GE(m.minPlayers, 2);
        EXPECT_LE(m.minPlayers, 6);
        EXPECT_GE(m.maxPlayers, 5);
        EXPECT_LE(m.maxPlayers, 10);
        EXPECT_GE(std::count(m.description.begin(), m.description.end(), '\n'), 3) << m.title;
        EXPECT_TRUE(m.description.ends_with("\r\n"));
        EXPECT_GE(m.requiredMajorVersion, 1);
        EXPECT_EQ(m.usedByLeague, 0);
        EXPECT_EQ(m.recommendedMaxPlayers > 0, m.cooperative()) << m.title;
        cooperative += m.cooperative();
        notForTournaments += m.notValidForTournaments;
    }
    EXPECT_GE(cooperative, 2);
    EXPECT_GT(notForTournaments, cooperative);
}

TEST(MapTable, ShippedMapInfoXmlReproducesTheBuiltInTable) {
    auto bytes = kv::readFile(std::string(KV_TEST_DATA_DIR) + "/MapInfo.xml");
    ASSERT_TRUE(bytes);
    MapTable fromFile; // every row blank, so only the file can fill it
    fromFile.readMapInfoXml(*bytes);
    EXPECT_EQ(fromFile, MapTable::builtIn());
    EXPECT_EQ(MapTable::load(std::string(KV_TEST_DATA_DIR) + "/MapInfo.xml"), MapTable::builtIn());
    EXPECT_EQ(MapTable::load("/nonexistent/MapInfo.xml"), MapTable::builtIn());
}

TEST(MapTable, LookupIgnoresCaseAndStopsAtTheFirstBlankRow) {
    MapTable maps = MapTable::builtIn();
    ASSERT_NE(maps.find("ashfall QUARRY"), nullptr);
    EXPECT_EQ(maps.find("ashfall QUARRY")->name, "KV-AshfallQuarry.kvo");
    EXPECT_EQ(maps.find("Ashfall"), nullptr);
    EXPECT_EQ(maps.find(""), nullptr);
    maps.row(50).title = "Beyond The End";
    EXPECT_EQ(maps.find("Beyond The End"), nullptr);
    maps.row(1).title = "Ashfall Quarry";
    EXPECT_EQ(maps.find("Ashfall Quarry"), &maps.row(0));
}

TEST(MapTable, XmlOverwritesRowsInOrder) {
    MapTable maps = MapTable::builtIn();
    const std::string originalSecond = maps.row(1).title;
    maps.readMapInfoXml("<?xml version=\"1.0\"?>\r\n<KorvaneMaps>\r\n<Map>\r\n"
                        "<title>Renamed</TITLE>\r\n"
                        "  <Name>Indented.kvo</Name>\r\n"
                        "<MinPlayers> 12abc</MinPlayers>\r\n"
                        "<MaxPlayers>no number</MaxPlayers>\r\n"
                        "<ExtImage>no closing tag\r\n"
                        "<ImageID>0</ImageID> trailing\r\n"
                        "<GamePlayType>1</GamePlayType>\r\n"
                        "<RecommendedMaxPlayers>9</RecommendedMaxPlayers>\r\n"
                        "<Description>ignored on the opening line\r\n"
                        "<Title>inside the description</Title>\r\n"
                        "second\r\n"
                        "</Description>\r\n"
                        "</Map>\r\n</KorvaneMaps>\r\n");
    const MapInfo& first = maps.row(0);
    EXPECT_EQ(first.title, "Renamed");
    EXPECT_EQ(first.name, "KV-AshfallQuarry.kvo"); // an indented tag is not a tag
    EXPECT_EQ(first.minPlayers, 12);
    EXPECT_EQ(first.maxPlayers, 0);
    EXPECT_EQ(first.extImage, "");
    EXPECT_EQ(first.imageId, 0);
    EXPECT_TRUE(first.cooperative());
    EXPECT_EQ(first.recommendedMaxPlayers, 9);
    EXPECT_EQ(first.description, "<Title>inside the description</Title>\r\nsecond\r\n");
    EXPECT_EQ(maps.row(1).title, originalSecond);
    EXPECT_EQ(maps.size(), 39u);
}

TEST(MapTable, XmlWithMoreThan99MapsFillsAtMost99Rows) {
    std::string xml;
    for (int i = 0; i < 130; ++i)
        xml += mapBlock("Map " + std::to_string(i));
    MapTable maps;
    maps.readMapInfoXml(xml);
    EXPECT_EQ(maps.size(), MapTable::kMaxRows);
    EXPECT_EQ(maps.row(98).title, "Map 98");
    EXPECT_EQ(maps.find("Map 99"), nullptr);
}

TEST(MapTable, XmlAddsRowsBeyondTheBuiltInOnes) {
    std::string xml;
    for (int i = 0; i < 41; ++i)
        xml += mapBlock(i < 39 ? MapTable::builtIn().row(static_cast<std::size_t>(i)).title : "New " + std::to_string(i));
    MapTable maps = MapTable::builtIn();
    maps.readMapInfoXml(xml);
    EXPECT_EQ(maps.size(), 41u);
    EXPECT_NE(maps.find("New 40"), nullptr);
}

TEST(MapTable, UnclosedDescriptionTakesTheRestUpToItsLimit) {
    std::string xml = "<Map>\n<Title>Open</Title>\n<Description>\n";
    for (int i = 0; i < 3000; ++i)
        xml += "a line of advice that goes on\n</Map>\n<Title>Not a title</Title>\n";
    MapTable maps;
    maps.readMapInfoXml(xml);
    EXPECT_EQ(maps.row(0).title, "Open");
    EXPECT_EQ(maps.row(0).description.size(), 16384u);
    EXPECT_EQ(maps.size(), 1u);
}

TEST(MapTable, LongXmlLinesAreReadInPieces) {
    std::string xml = "<Map>\n<Title>" + std::string(5000, 't') + "</Title>\n" + std::string(4095, 'x') +
                      "<Name>piece.kvo</Name>\n</Map>\n";
    MapTable maps = MapTable::builtIn();
    maps.readMapInfoXml(xml);
    EXPECT_EQ(maps.row(0).title, ""); // the first piece has no '<' after the tag, so the title is emptied
    EXPECT_EQ(maps.row(0).name, "piece.kvo");
}

TEST(MapTable, AvailabilityFollowsTheInstalledVersion) {
    MapInfo map;
    map.requiredMajorVersion = 2;
    map.requiredMinorVersion = 1;
    map.requiredSubMinorVersion = 3;
    EXPECT_TRUE(mapAvailable(map, {0, 0, 0}));
    EXPECT_TRUE(mapAvailable(map, {2, 1, 3}));
    EXPECT_TRUE(mapAvailable(map, {2, 2, 0}));
    EXPECT_TRUE(mapAvailable(map, {3, 0, 0}));
    EXPECT_FALSE(mapAvailable(map, {2, 1, 2}));
    EXPECT_FALSE(mapAvailable(map, {2, 0, 9}));
    EXPECT_FALSE(mapAvailable(map, {1, 9, 9}));
}
