#include "agent/service/LoginLogLines.h"

#include "common/Format.h"
#include "common/protocol/ProtocolWords.h"

namespace kv::agent::service::login_log {

namespace {

std::string durationText(std::chrono::milliseconds time) {
    const long long ms = time.count();
    if (ms % 60000 == 0)
        return format("%lld minute%s", ms / 60000, ms == 60000 ? "" : "s");
    if (ms % 1000 == 0)
        return format("%lld seconds", ms / 1000);
    return format("%lld ms", ms);
}

} // namespace

std::string quotedName(std::string_view name) {
    name = name.substr(0, protocol::kLoginFieldCapacity - 1);
    std::string out = "\"";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\')
            appendFormat(out, "\\x%02X", byte);
        else
            out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string accepted(std::string_view address, std::string_view name) {
    return "Remote login accepted from " + std::string(address) + " for " + quotedName(name) + "\n";
}

std::string failed(std::string_view address, std::string_view name, std::string_view reason, unsigned inARow) {
    return "Remote login failed from " + std::string(address) + " for " + quotedName(name) + " (" +
           std::string(reason) + format(", %u in a row)\n", inARow);
}

std::string lockedOut(std::string_view address, unsigned failures, std::chrono::milliseconds lockoutTime) {
    return "Remote login locked out for " + std::string(address) +
           format(" after %u failures in a row, for ", failures) + durationText(lockoutTime) + "\n";
}

} // namespace kv::agent::service::login_log
