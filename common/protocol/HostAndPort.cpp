#include "common/protocol/HostAndPort.h"

#include "common/Text.h"

namespace kv::protocol {

std::optional<HostAndPort> parseHostAndPort(std::string_view text, unsigned defaultPort) {
    text = trim(text);
    HostAndPort result{std::string(text), defaultPort};
    std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        std::string_view port = text.substr(colon + 1);
        if (port.empty() || port.size() > 5)
            return std::nullopt;
        unsigned value = 0;
        for (char c : port) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value == 0 || value > 65535)
            return std::nullopt;
        result.host = std::string(text.substr(0, colon));
        result.port = value;
    }
    if (result.host.empty() || result.host.find(':') != std::string::npos)
        return std::nullopt;
    return result;
}

} // namespace kv::protocol
