#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::remote {

// What the list of remote servers knows of one host after asking its agent.
struct HostStatus {
    enum class Reach {
        Checking,     // asked, no answer yet
        Answered,     // the agent gave its status
        NotReachable, // no agent answered at the address
        LoginRefused, // the agent answered but did not take the login
        NotTrusted,   // the agent's identity is not the recorded one (or cannot be checked): nothing was sent
    };
    Reach reach = Reach::Checking;
    std::string status;    // the agent's status word, cut for display
    std::string setupName; // the host's current setup, cut for display
    std::uint32_t upTimeMinutes = 0;
    int players = -1; // from the game's status query while the server runs; -1 when unknown

    bool operator==(const HostStatus&) const = default;
};

// Longest texts taken from an agent for a list cell; they come from the network.
inline constexpr std::size_t kStatusWordLimit = 40;
inline constexpr std::size_t kSetupNameLimit = 64;

// Whether a status word says that the game server runs: "Running", "Starting" or "Crashed", case ignored, as every
// status test of the remote windows.
bool serverRuns(std::string_view statusWord);

// At most `limit` bytes of `text` without control characters, never ending inside a UTF-8 sequence.
std::string cutForDisplay(std::string_view text, std::size_t limit);

// The "Status" cell: "Running: Duel, 3 players, up 2h 05m", "Stopped", "No setup selected", "Not reachable", ...
std::string hostStatusText(const HostStatus& status);

} // namespace kv::remote
