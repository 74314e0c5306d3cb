#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {
class LineReader;
}

namespace kv::core {

// One banned player: a row of every ban list view and a line of every ban list file.
struct BanEntry {
    std::string type;         // "NAME", "IP" or "MAC"
    std::string value;        // the name, IP address or network card address that is banned
    std::int32_t endTime = 0; // seconds since 1970-01-01 UTC at which the ban ends; 0 = permanent
    std::string playerName;   // kept for reference whatever the type; never quoted here

    bool operator==(const BanEntry&) const = default;
};

// A ban list in view order: element 0 is the top row.
using BanList = std::vector<BanEntry>;

inline constexpr std::string_view kBanTypeName = "NAME";
inline constexpr std::string_view kBanTypeIp = "IP";
inline constexpr std::string_view kBanTypeMac = "MAC";

// The ban list files, relative to the manager's working folder.
inline constexpr std::string_view kMasterBanListFile = "MasterBanList.ini";   // the master list, replaced on OK
inline constexpr std::string_view kMasterBanRecordFile = "MasterBanList.txt"; // every entry ever sent, appended

// A ban list file line is read in pieces of at most this many characters (the format's line limit).
inline constexpr std::size_t kBanLineLimit = 4095;
// What an editor accepts in one field, so that a line always stays far below the limit.
inline constexpr std::size_t kBanFieldLimit = 255;

// "Permanent" for 0, otherwise "month/day/year" of the local date at which the ban ends.
std::string banLengthText(std::int32_t endTime);

// Why `text` cannot be a field of a ban entry typed by the user (a comma, a double quote, a line break or another
// control character, or more than kBanFieldLimit characters), or empty when it can. Emptiness is not judged here:
// the player name of an IP or MAC ban may be empty.
std::string banFieldProblem(std::string_view text);

// Why `entry` cannot be written to a ban list file without changing what is read back (a field holding a comma,
// a line feed or a NUL byte), or empty when it can. Entries read from a file always can.
std::string banEntryProblem(const BanEntry& entry);

// The entry as one line of a ban list file: "%s,%s,%ld,%ld,\"%s\"\n" (type, value, end time, 0, player name).
// Check banEntryProblem first: this writes the fields as they are.
std::string banFileLine(const BanEntry& entry);

// Every row, top to bottom, in the file format; nullopt (with `error`) when an entry cannot be written.
std::optional<std::string> banListText(const BanList& list, std::string* error = nullptr);

// Merges ban list lines into `list`: each line (read in pieces of at most 4095 characters,
// only its line end "\n" or "\r\n" removed, and ending at a NUL byte as the C string it was) is split at commas,
// consecutive commas counting as one; a line of fewer than five fields is skipped; a line whose type, value, length
// text and unquoted player name equal those of a row already in the list (without regard to ASCII case) is skipped;
// every other line becomes a new row at the top, so that the rows of one file show in reverse order. A player name that
// begins with a double quote loses it, and a double quote at its end. The number of rows added.
std::size_t mergeBanListLines(LineReader& lines, BanList& list);
std::size_t mergeBanListText(std::string_view text, BanList& list);

// The same for a file; a file that does not exist (or cannot be opened) adds nothing.
std::size_t mergeBanListFile(const std::string& path, BanList& list);

// Replaces `path` with the list, atomically (a temporary file renamed over it when complete). False with `error`
// when the list cannot be written or the file not replaced; the old file is then left as it was.
bool writeBanListFile(const std::string& path, const BanList& list, std::string* error = nullptr);

// Appends the list's lines to the never-truncated record file `path` (created when missing), each only when the file
// does not hold it yet. An empty list appends nothing.
bool appendBanListRecord(const std::string& path, const BanList& list, std::string* error = nullptr);

} // namespace kv::core
