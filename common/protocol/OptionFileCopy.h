#pragma once

#include <string>
#include <string_view>

namespace kv::protocol {

// The file name of the local working copy of a host's anti-cheat option file: "<address>-<file>", where the
// address keeps letters, digits, '.', '_' and '-' and every other character (the ':' before a port) becomes '_'.
// So "10.0.0.5:2999" and "10.0.0.5:3001" keep copies of their own, and the name is a plain file name whatever
// the address holds. The address part is cut at kMaxCopyAddress characters.
inline constexpr std::size_t kMaxCopyAddress = 100;
std::string optionFileCopyName(std::string_view address, std::string_view optionFile);

} // namespace kv::protocol
