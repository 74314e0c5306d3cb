#include "manager/core/AddressLookup.h"

#include <gtest/gtest.h>

#include <string>

using namespace kv::core;

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
