#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::protocol {

// Agent side: one record line of each list (fields carry no commas; nothing is quoted).
std::string formatConfigurationRecord(std::string_view name, std::string_view map, std::string_view runMode,
                                      std::int64_t lastWrite);
// Anti-cheat option files and logs: the size goes out as a 32-bit number, as the list has always carried it.
std::string formatFileRecord(std::string_view name, std::int64_t lastWrite, std::int64_t size);
std::string formatScreenshotRecord(std::string_view name, std::int64_t lastWrite, std::int64_t size);

// Client side: whether a list line ends the list (an empty line, or "[EndOfList]" in any letter case).
bool isEndOfList(std::string_view line);

struct ConfigurationRecord {
    std::string name;
    std::string map;
    std::string runMode;
    std::int64_t lastWrite = 0;
};

struct FileRecord {
    std::string name;
    std::int64_t lastWrite = 0;
    std::int64_t size = 0;
};

// Reading a record: consecutive commas count as one separator, so an empty field shifts the later ones left; the
// last field is always the time. Empty for a line without the time field.
std::optional<ConfigurationRecord> parseConfigurationRecord(std::string_view line);
// Name, time and size; empty unless there are three fields.
std::optional<FileRecord> parseFileRecord(std::string_view line);

} // namespace kv::protocol
