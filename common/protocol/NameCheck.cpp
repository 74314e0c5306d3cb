#include "common/protocol/NameCheck.h"

#include "common/Text.h"

namespace kv::protocol {

bool passesShortNameCheck(std::string_view name) {
    if (name.empty() || name.find("..") != std::string_view::npos)
        return false;
    return name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos;
}

bool passesStrictNameCheck(std::string_view name) {
    return passesShortNameCheck(name) && name.find('.') == std::string_view::npos;
}

namespace {

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool madeOf(std::string_view name, std::string_view marks) {
    if (name.empty() || name.size() > kMaxStoredNameLength)
        return false;
    for (char c : name)
        if (!isAsciiAlnum(c) && marks.find(c) == std::string_view::npos)
            return false;
    return true;
}

} // namespace

bool isConfigurationName(std::string_view name) {
    return madeOf(name, " -_()+!'&") && name.front() != ' ' && name.back() != ' ';
}

bool isMapName(std::string_view name) {
    return madeOf(name, "-_()+!'&.") && name.front() != '.' && name.find("..") == std::string_view::npos;
}

bool isRunModeName(std::string_view name) {
    return madeOf(name, "-_") && name.size() <= 32;
}

bool isStorableValue(std::string_view value, std::size_t maxLength) {
    return value.size() <= maxLength && !hasControlCharacter(value);
}

bool isSingleLine(std::string_view text) {
    return text.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace kv::protocol
