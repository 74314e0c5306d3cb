// The "Status" cell of the remote server list, from what an agent said (or did not say) of its server.
#include "manager/remote/HostStatus.h"

#include <gtest/gtest.h>

namespace kv::remote {
namespace {

TEST(HostStatusText, ReadsAsAdministratorsExpectForEveryOutcome) {
    using R = HostStatus::Reach;
    const struct {
        HostStatus status;
        const char* text;
    } cases[] = {
        {{R::Checking, "", "", 0, -1}, "Checking..."},
        {{R::NotReachable, "", "", 0, -1}, "Not reachable"},
        {{R::LoginRefused, "", "", 0, -1}, "Login refused"},
        {{R::NotTrusted, "", "", 0, -1}, "Agent identity not trusted"},
        {{R::Answered, "Running", "Duel", 125, 12}, "Running: Duel, 12 players, up 2h 05m"},
        {{R::Answered, "running", "Duel", 59, 1}, "running: Duel, 1 player, up 59m"},
        {{R::Answered, "Starting", "Duel", 0, -1}, "Starting: Duel, up 0m"}, // the game did not answer yet
        {{R::Answered, "Crashed", "Duel", 3 * 1440 + 4 * 60 + 7, 0}, "Crashed: Duel, 0 players, up 3d 4h"},
        {{R::Answered, "Never Started", "", 0, -1}, "No setup selected"},
        {{R::Answered, "Stopped", "", 0, -1}, "No setup selected"},
        {{R::Answered, "Never Started", "Duel", 0, -1}, "Stopped"},
        {{R::Answered, "Stopped", "Duel", 0, -1}, "Stopped"},
        {{R::Answered, "Stopped - Invalid Configuration", "Duel", 0, -1}, "Stopped - Invalid Configuration"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hostStatusText(c.status), c.text);
}

TEST(HostStatusText, TextsFromTheNetworkAreCutAndCleanedForACell) {
    EXPECT_EQ(cutForDisplay("Duel\r\nForged: line\x7f", 64), "DuelForged: line");
    EXPECT_EQ(cutForDisplay(std::string(5000, 'x'), kSetupNameLimit).size(), kSetupNameLimit);
    // Never half a character: "é" is two bytes, cut after its first one.
    EXPECT_EQ(cutForDisplay("abc\xc3\xa9", 4), "abc");
    EXPECT_EQ(cutForDisplay("abc\xc3\xa9", 5), "abc\xc3\xa9");
    EXPECT_EQ(cutForDisplay("ab\xe2\x82\xac", 4), "ab");
    EXPECT_EQ(cutForDisplay("", 4), "");
}

} // namespace
} // namespace kv::remote
