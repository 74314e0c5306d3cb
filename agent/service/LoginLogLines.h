#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace kv::agent::service {

// The agent log's entries about remote logins, written for people and for log watchers (fail2ban and the like).
// Each is one line, line feed included, with a stable beginning; the peer's address always comes before anything
// the peer chose, and the name it tried is quoted and escaped, so that no name can end the line or pose as another
// address.
namespace login_log {

// `name` cut to what a login can carry, with control bytes, bytes from 0x7F up, '"' and '\' as \xNN, in quotes.
std::string quotedName(std::string_view name);

// Remote login accepted from 127.0.0.1 for "Admin"
std::string accepted(std::string_view address, std::string_view name);
// Remote login failed from 127.0.0.1 for "bob" (Bad PW, 4 in a row)
std::string failed(std::string_view address, std::string_view name, std::string_view reason, unsigned inARow);
// Remote login locked out for 127.0.0.1 after 20 failures in a row, for 15 minutes
std::string lockedOut(std::string_view address, unsigned failures, std::chrono::milliseconds lockoutTime);

} // namespace login_log
} // namespace kv::agent::service
