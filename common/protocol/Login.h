#pragma once

#include <string_view>

namespace kv::protocol {

enum class LoginVerdict { Accepted, BadAdminName, BadPassword };

// Agent side: the name must equal the administrator name in any letter case, and the MD5 digest of the password
// (32 lower-case hexadecimal digits) the stored digest exactly. A wrong name is reported whatever the password.
LoginVerdict checkLogin(std::string_view name, std::string_view password, std::string_view adminName,
                        std::string_view md5Password);

// The reason written to the access log for a rejected login ("Bad Admin Name", "Bad PW"); empty when accepted.
const char* loginRejectionReason(LoginVerdict verdict);

} // namespace kv::protocol
