#pragma once

#include "common/protocol/ProtocolWords.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kv::agent {

// Administrator passwords of the agent.
namespace admin_password {

// The longest password a remote login carries: the agent reads the field with a capacity of 63.
inline constexpr std::size_t kLongest = protocol::kLoginFieldCapacity - 1;

// A random password of `length` letters and digits from the kernel's random source; empty if that fails.
std::string generate(std::size_t length = 16);

// Reads the new password for --set-password: the first line of `in`, without its line end. Empty when there is none.
std::string readFrom(std::istream& in);

// Why a new password is refused, or empty when it is acceptable: it must be something a remote login can carry
// (1 to 62 bytes, no control characters) and not the well-known default.
std::string problemWith(const std::string& password);

// Whether a stored digest may let anyone in remotely: false for a missing or malformed digest and for the digests
// of the empty password and of the well-known default, which every copy of the agent shares.
bool usableForRemoteLogin(std::string_view md5Digest);

} // namespace admin_password
} // namespace kv::agent
