#pragma once

#include <cstddef>
#include <string_view>

namespace kv::protocol {

// Names that the agent turns into paths. The short check refuses "..", "\\", "/" and ":"; the strict check, for
// names of uploaded configurations and setups, also refuses any full stop. Both refuse an empty name.
bool passesShortNameCheck(std::string_view name);
bool passesStrictNameCheck(std::string_view name);

// Names that the agent stores and later puts into files and the game server's command line. ASCII letters and
// digits and a few marks only: nothing that can end a line or a quoted argument, separate list fields (",") or name
// a path part, and no leading blank or full stop.
constexpr std::size_t kMaxStoredNameLength = 128;
// Configurations and setups: letters, digits, blank and - _ ( ) + ! ' &; no full stop.
bool isConfigurationName(std::string_view name);
// Maps: as configuration names without the blank (the map is a word of the command line), with full stops but
// not "..".
bool isMapName(std::string_view name);
// Run modes: a word of letters, digits, "-" and "_".
bool isRunModeName(std::string_view name);
// A free value stored on a line of its own (passwords of a configuration): no control character, at most
// `maxLength` bytes.
bool isStorableValue(std::string_view value, std::size_t maxLength);

// A parameter goes out as one line: a carriage return or line feed inside it would be read as further lines.
bool isSingleLine(std::string_view text);

} // namespace kv::protocol
