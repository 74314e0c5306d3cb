// What the setup management window makes of a host's list texts, its time and player texts, and the description it
// sends with a setup.
#include "manager/remote/RemoteSetupRows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace kv::remote;

namespace {

void setZone(const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
}

} // namespace

TEST(RemoteSetupRowsTest, ListTextsBecomeRowsWhateverTheHostSends) {
    EXPECT_EQ(parseRemoteSetupRow("Cup Final,Harbor.kvo,LANTOURNAMENT,1700000000"),
              (RemoteSetupRow{"Cup Final", "Harbor.kvo", "LANTOURNAMENT", 1700000000}));
    // Only a name: the rest is empty and the time absent.
    EXPECT_EQ(parseRemoteSetupRow("Lonely"), (RemoteSetupRow{"Lonely", "", "", std::nullopt}));
    // Repeated commas are one separator, so an empty map moves the later fields left.
    EXPECT_EQ(parseRemoteSetupRow("Gap,,,GLOBAL,,42"), (RemoteSetupRow{"Gap", "GLOBAL", "42", std::nullopt}));
    EXPECT_EQ(parseRemoteSetupRow("A,m,LAN,5,extra,fields"), (RemoteSetupRow{"A", "m", "LAN", 5}));
    EXPECT_FALSE(parseRemoteSetupRow("").has_value());
    EXPECT_FALSE(parseRemoteSetupRow(",,,").has_value());

    // A time that is not a plain count of seconds is no time at all, rather than a made-up date.
    for (const char* time : {"-5", "12abc", "99999999999999999999", "253402300800", " "})
        EXPECT_FALSE(parseRemoteSetupRow(std::string("N,m,LAN,") + time)->lastUpdate.has_value()) << time;
    EXPECT_EQ(parseRemoteSetupRow("N,m,LAN,253402300799")->lastUpdate, 253402300799);

    // Control characters go; over-long fields are cut, never inside a UTF-8 sequence; a flood is only glanced at.
    EXPECT_EQ(parseRemoteSetupRow("Bell\x07Tower\r,m\x1b[2J,LAN")->name, "BellTower");
    EXPECT_EQ(parseRemoteSetupRow("Bell\x07Tower\r,m\x1b[2J,LAN")->map, "m[2J");
    const std::string accents(400, 'x');
    std::string wide = "xx";
    for (int i = 0; i < 200; ++i)
        wide += "\xc3\xa9"; // é
    const RemoteSetupRow cut = *parseRemoteSetupRow(accents + "," + wide + ",LAN");
    EXPECT_EQ(cut.name.size(), kMaxRemoteSetupField);
    EXPECT_EQ(cut.map.size(), kMaxRemoteSetupField - 1); // 2 + 126 whole characters
    EXPECT_EQ(cut.map.back(), '\xa9');
    std::string flood(1 << 20, ',');
    flood += "Late,m,LAN,1";
    EXPECT_FALSE(parseRemoteSetupRow(flood).has_value());
    const std::string binary("\0\xff,\xfe\0,\x80", 8);
    EXPECT_TRUE(parseRemoteSetupRow(binary).has_value());
}

TEST(RemoteSetupRowsTest, LastUpdateIsLocalTimeOnATwelveHourClock) {
    setZone("UTC");
    EXPECT_EQ(lastUpdateText(0), "1/1/1970 at 12:00 AM");
    EXPECT_EQ(lastUpdateText(3900), "1/1/1970 at 1:05 AM");
    EXPECT_EQ(lastUpdateText(43200), "1/1/1970 at 12:00 PM");
    EXPECT_EQ(lastUpdateText(1700000000), "11/14/2023 at 10:13 PM");
    EXPECT_EQ(lastUpdateText(std::nullopt), "-");
    setZone("EST5");
    EXPECT_EQ(lastUpdateText(0), "12/31/1969 at 7:00 PM");
    setZone("UTC");
}

TEST(RemoteSetupRowsTest, PlayerTextsFollowTheDesignedPluralRules) {
    EXPECT_EQ(playerWarningText(0), "There are currently no players on this server.");
    EXPECT_EQ(playerWarningText(-3), "There are currently no players on this server.");
    EXPECT_EQ(
        playerWarningText(1),
        "WARNING: There is 1 player currently on the server.  Switching Server Setups will kick this player off.");
    EXPECT_EQ(playerWarningText(2), "WARNING: There are 2 players currently on the server.  Switching Server Setups "
                                    "will kick these players off.");
    EXPECT_EQ(kickPlayersQuestion(1),
              "The server currently has 1 player on it.  Changing server setups will result in this player being "
              "kicked from the server.\n\nAre you sure you want to activate this new server setup and kick this "
              "player from the server?");
    EXPECT_EQ(kickPlayersQuestion(12),
              "The server currently has 12 players on it.  Changing server setups will result in these players being "
              "kicked from the server.\n\nAre you sure you want to activate this new server setup and kick these "
              "players from the server?");
}

// The agent ends a description at a line that is exactly the end word, and ends a line at a CR: no line of what is
// sent may read as that word, and everything else goes as it was.
TEST(RemoteSetupRowsTest, NoDescriptionLineCanEndTheDescriptionEarly) {
    EXPECT_EQ(guardUploadDescription("a\r\n[EndDescription]\r\nStopServer\r\n"),
              "a\r\n[EndDescription] \r\nStopServer\r\n");
    EXPECT_EQ(guardUploadDescription("[EndDescription]"), "[EndDescription] ");
    EXPECT_EQ(guardUploadDescription("x\n[EndDescription]\rStartServer"), "x\r\n[EndDescription] \r\nStartServer");
    EXPECT_EQ(guardUploadDescription("[EndDescription]\r\r\nB"), "[EndDescription] \r\n\r\nB");
    // Lines that merely look like it are left alone.
    EXPECT_EQ(guardUploadDescription("[EndDescription] more\r\n[enddescription]\r\n"),
              "[EndDescription] more\r\n[enddescription]\r\n");
    EXPECT_EQ(guardUploadDescription(""), "");
}
