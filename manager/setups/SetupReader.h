#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>
#include <string_view>

namespace kv::setups {

// Longest line piece of a setup file; a longer line is read in pieces of this size, each taken like a line.
inline constexpr std::size_t kMaxSetupLine = 16383;

// Applies one line of a setup file (its line break removed) to the record: keys match at the start of the line
// without regard to case, values are taken as they stand, unknown lines are ignored.
void applySetupLine(std::string_view line, ServerSetup& setup);

// Applies every line of a setup file's bytes (CR LF or LF line ends). True when the record names a setup
// afterwards. Neither looks at the legacy description file nor counts the maps: SetupStore does both.
bool readSetupLines(std::string_view bytes, ServerSetup& setup);

// A description as stored on one line: each "<BR>" becomes CR LF, then trailing white space goes.
std::string decodeDescription(std::string_view stored);

} // namespace kv::setups
