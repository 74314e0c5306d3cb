#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>
#include <string_view>

namespace kv::setups {

enum class SetupForm {
    Full,   // every persisted field: the library's .ServerConfig files
    League, // only the fields a league configuration fixes
};

// The bytes of a setup file: one "key=value" line per key in file order, each ending in CR LF. Arrays are written
// with every element, floats as "%4.2f", the description last on one line.
std::string writeSetupText(const ServerSetup& setup, SetupForm form);

// A description on one line: each line break (CR LF, or a lone CR or LF) becomes "<BR>".
std::string encodeDescription(std::string_view text);

} // namespace kv::setups
