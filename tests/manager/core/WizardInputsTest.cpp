#include "manager/core/AddressLookup.h"
#include "manager/core/RemoteServerList.h"

#include <gtest/gtest.h>

#include <string>

using namespace kv::core;

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

TEST(AddressLookupTest, OnlyADottedIpv4ReplyIsAnAddressAndPrivateRangesAreExact) {
    EXPECT_EQ(parseAddressReply("203.0.113.9\n"), std::optional<std::string>("203.0.113.9"));
    for (const char* bad : {"", "203.0.113", "203.0.113.9.1", "256.1.1.1", "1.2.3.4; rm -rf /", "<html>1.2.3.4</html>",
                            "::1", "01.2.3.4x"})
        EXPECT_FALSE(parseAddressReply(bad).has_value()) << bad;

    for (const char* inside : {"10.0.0.1", "172.16.5.4", "172.31.255.255", "192.168.1.20"})
        EXPECT_TRUE(isPrivateIpv4(inside)) << inside;
    // "Starts with 192." is not the home network, nor are the neighbours of the private ranges.
    for (const char* outside : {"192.0.2.7", "172.15.0.1", "172.32.0.1", "11.0.0.1", "8.8.8.8"})
        EXPECT_FALSE(isPrivateIpv4(outside)) << outside;
}
