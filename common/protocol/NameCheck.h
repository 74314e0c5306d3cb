#pragma once

#include <string_view>

namespace kv::protocol {

// Names that the agent turns into paths. The short check refuses "..", "\\", "/" and ":"; the strict check, for
// names of uploaded configurations and setups, also refuses any full stop. Both refuse an empty name.
bool passesShortNameCheck(std::string_view name);
bool passesStrictNameCheck(std::string_view name);

// A parameter goes out as one line: a carriage return or line feed inside it would be read as further lines.
bool isSingleLine(std::string_view text);

} // namespace kv::protocol
