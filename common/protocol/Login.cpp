#include "common/protocol/Login.h"

#include "common/Md5.h"
#include "common/Text.h"

namespace kv::protocol {

LoginVerdict checkLogin(std::string_view name, std::string_view password, std::string_view adminName,
                        std::string_view md5Password) {
    if (!equalsNoCase(name, adminName))
        return LoginVerdict::BadAdminName;
    if (md5Hex(password) != md5Password)
        return LoginVerdict::BadPassword;
    return LoginVerdict::Accepted;
}

const char* loginRejectionReason(LoginVerdict verdict) {
    switch (verdict) {
    case LoginVerdict::BadAdminName:
        return "Bad Admin Name";
    case LoginVerdict::BadPassword:
        return "Bad PW";
    case LoginVerdict::Accepted:
        break;
    }
    return "";
}

} // namespace kv::protocol
