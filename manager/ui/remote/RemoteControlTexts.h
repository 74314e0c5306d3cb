#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The texts of the remote control window and its restart time dialog, apart from the widgets so that they can be
// checked alone. Plain C++.
namespace kv::manager::ui::remote_texts {

// The agent's state words that count as a server that runs ("Running", "Starting", "Crashed"), any letter case.
bool isRunningStatus(std::string_view status);

// "42 minutes" when the agent keeps no crash count (-1), otherwise "42 min (3 crashes)".
std::string upTimeText(std::uint32_t minutes, int crashes);

// "Current RAM Usage: 100K   Peak RAM Usage: 200K"; nothing when either figure is 0 (the field keeps its text).
std::optional<std::string> memoryText(std::int32_t currentK, std::int32_t peakK);

// Minutes after midnight (0..1439) on a 12-hour clock: "12:00 AM", "1:05 PM".
std::string clockText(int minutes);

// The minutes of a restart time value when it is a whole number 0..1439 written in plain digits.
std::optional<int> restartMinutes(std::string_view value);

// The restart time field for a value from the agent: "None" gives "Not Enabled", minutes give the clock, anything
// else shows as it came.
std::string restartTimeText(std::string_view value);

// The restart dialog's list: "Do Not Auto-Restart", then every 10 minutes from 12:00 AM to 11:50 PM (145 entries).
std::vector<std::string> restartEntries();
// The value that entry `index` sends ("None", or the minutes as a decimal text); empty for an index out of range.
std::string restartValueForEntry(int index);
// The entry that shows `value`, or -1 when the list has none for it.
int restartEntryForValue(std::string_view value);

// The host part of an "address" or "address:port" entry ("[v6]:port" too): where the game status query goes.
std::string hostOf(std::string_view address);

// The one argument the game client is started with: "address?Password=pw", or the address alone when the password
// is empty.
std::string gameClientArgument(std::string_view address, std::string_view password);

// Whether a game password from the remote host may go into the game client's argument: not longer than 256 bytes,
// no '?' (which would start another option of the argument) and no control character.
bool isPassableGamePassword(std::string_view password);

// The designed "Game Already Running" text, with the command to type into the game's console.
std::string gameAlreadyRunningText(std::string_view address, std::string_view password);

} // namespace kv::manager::ui::remote_texts
