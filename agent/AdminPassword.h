#pragma once

#include <iosfwd>
#include <string>

namespace kv::agent {

// Administrator passwords of the headless agent.
namespace admin_password {

// A random password of `length` letters and digits from the kernel's random source; empty if that fails.
std::string generate(std::size_t length = 16);

// Reads the new password for --set-password: the first line of `in`, without its line end. Empty when there is none.
std::string readFrom(std::istream& in);

// Why a password is refused, or empty when it is acceptable.
std::string problemWith(const std::string& password);

} // namespace admin_password
} // namespace kv::agent
