#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::remote {

// Bounds for what a host sends: a list text longer than kMaxAntiCheatText is dropped, names are at most
// kMaxAntiCheatName bytes, and a list keeps at most kMaxAntiCheatRows rows.
inline constexpr std::size_t kMaxAntiCheatText = 512;
inline constexpr std::size_t kMaxAntiCheatName = 128;
inline constexpr std::size_t kMaxAntiCheatRows = 5000;
// An option file larger than this is not shown in the editor.
inline constexpr std::size_t kMaxOptionFileBytes = 1024 * 1024;

// The two option files that every host has; they are always offered, the game's own first.
inline constexpr std::string_view kGameOptionFile = "pbsvgame.cfg";
inline constexpr std::string_view kServerOptionFile = "pbsv.cfg";

// A name that may become a local file name: letters, digits, '.', '_' and '-', not "." or "..", at most
// kMaxAntiCheatName bytes.
bool isPlainFileName(std::string_view name);

// The option file names of a host's list texts (first comma-separated field): plain file names ending in ".cfg"
// whose stem is letters and digits (the ".cfg" in lower case, as the host stores it), without the two standard names
// (any letter case) and without repeats.
std::vector<std::string> parseOptionFileList(const std::vector<std::string>& texts);

// One screenshot or log of a host's index: "name,time,size".
struct AntiCheatFileRow {
    std::string name;
    std::int64_t time = 0; // seconds since 1970 UTC
    std::int64_t size = 0; // bytes
    bool operator==(const AntiCheatFileRow&) const = default;
};

// The rows of an index in the host's order. A text that is too long, lacks a field, names no plain file name or
// carries a negative or impossible time or size is dropped.
std::vector<AntiCheatFileRow> parseAntiCheatIndex(const std::vector<std::string>& texts);

// "Date/Time": "month/day/year at h:mm:ss" in local time, 24-hour clock.
std::string fileTimeText(std::int64_t secondsSince1970);
// "Size (K)": kilobytes with one decimal ("1.5K" for 1536 bytes).
std::string fileSizeText(std::int64_t bytes);

// The name typed for a new option file: letters and digits only. Empty keeps OK disabled without a message.
enum class OptionNameCheck { Empty, Invalid, Valid };
OptionNameCheck checkOptionName(std::string_view name);

// The editor's text from the bytes of an option file: lines end in "\n" (a "\r" before it goes, nothing else).
std::string editorTextFromFile(std::string_view bytes);
// The bytes written for the editor's text: every line break becomes "\n" and the text ends with one, so that
// opening and saving again gives the same bytes.
std::string fileTextFromEditor(std::string_view text);
// The 1-based number of the first line of `fileText` that the upload would send as its end marker, or none.
std::optional<std::size_t> endMarkerLine(std::string_view fileText);

// Local places, all under the manager's working folder: the working copy of a host's option file (named as the
// client library names it), and the caches of fetched screenshots and logs (`name` must be a plain file name).
std::string optionFileCopyPath(const std::string& workingFolder, const std::string& address,
                               const std::string& optionFile);
std::string cachedFilePath(const std::string& workingFolder, bool logs, const std::string& name);
std::string cacheFolder(const std::string& workingFolder, bool logs);

// Whether a cached file must be fetched (again): it is missing, empty, or not of the size the host lists.
bool needsFetch(const std::string& path, std::int64_t listedSize);

// Moves a working copy aside to "<path>.old" (replacing an older one) so that a download that finds nothing
// leaves no stale copy behind. True when nothing is left at `path`.
bool moveAside(const std::string& path);

} // namespace kv::remote
