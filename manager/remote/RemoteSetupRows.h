#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::remote {

// One setup stored on a remote host, as its list text "name,map,server type,last update" gives it.
struct RemoteSetupRow {
    std::string name;
    std::string map;
    std::string serverType;
    std::optional<std::int64_t> lastUpdate; // seconds since 1970 UTC; none when absent or not a plain count

    bool operator==(const RemoteSetupRow&) const = default;
};

// Bounds for what a host sends: a text is looked at up to kMaxRemoteSetupText bytes, a field keeps at most
// kMaxRemoteSetupField, and a list shows at most kMaxRemoteSetupRows rows.
inline constexpr std::size_t kMaxRemoteSetupText = 4096;
inline constexpr std::size_t kMaxRemoteSetupField = 255;
inline constexpr std::size_t kMaxRemoteSetupRows = 2000;

// Reads one list text. Consecutive commas count as one separator, so an empty field shifts the later ones left;
// fields after the fourth are ignored; control characters are dropped; a field is cut at its bound (never inside
// a UTF-8 sequence). Empty when the text holds no field at all.
std::optional<RemoteSetupRow> parseRemoteSetupRow(std::string_view text);

// The "Last Update" column: "month/day/year at h:mm AM" in local time on a 12-hour clock, or "-" when absent.
std::string lastUpdateText(std::optional<std::int64_t> secondsSince1970);

// The player warning line of the setup management window: the designed warning when players are on, otherwise
// the line's default text.
std::string playerWarningText(int playerCount);
// The question asked before an activation kicks `playerCount` (above zero) players.
std::string kickPlayersQuestion(int playerCount);

// The description sent with a setup: `description` with every line that would read as the protocol's end of the
// description altered so that it stays description text. Lines end in CR LF; a lone CR counts as a line break,
// as the agent ends a line there.
std::string guardUploadDescription(std::string_view description);

} // namespace kv::remote
