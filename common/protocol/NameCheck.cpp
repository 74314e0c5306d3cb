#include "common/protocol/NameCheck.h"

namespace kv::protocol {

bool passesShortNameCheck(std::string_view name) {
    if (name.empty() || name.find("..") != std::string_view::npos)
        return false;
    return name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos;
}

bool passesStrictNameCheck(std::string_view name) {
    return passesShortNameCheck(name) && name.find('.') == std::string_view::npos;
}

bool isSingleLine(std::string_view text) {
    return text.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace kv::protocol
