#include "client/TrustEntry.h"

#include "common/Format.h"
#include "common/LocalTime.h"
#include "common/Text.h"
#include "common/channel/Fingerprint.h"

#include <vector>

namespace kv {

namespace {

constexpr std::size_t kMaxHostBytes = 255;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        std::size_t end = at;
        while (end < line.size() && !isBlank(line[end]))
            ++end;
        if (end > at)
            out.push_back(line.substr(at, end - at));
        at = end;
    }
    return out;
}

std::optional<unsigned> portFrom(std::string_view text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    unsigned value = 0;
    for (char c : text)
        value = value * 10 + static_cast<unsigned>(c - '0');
    if (value == 0 || value > 65535)
        return std::nullopt;
    return value;
}

bool isDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

} // namespace

std::string TrustEntry::agent() const {
    return host + ":" + std::to_string(port);
}

bool isAcceptableTrustHost(std::string_view host) {
    if (host.empty() || host.size() > kMaxHostBytes)
        return false;
    for (char c : host) {
        auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || isControlCharacter(c) || c == '#' || c == ':')
            return false;
    }
    return true;
}

std::optional<TrustEntry> parseTrustLine(std::string_view line) {
    // Every byte counts: a control character anywhere means the line was damaged, so it must not match.
    for (char c : line)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return std::nullopt;
    std::vector<std::string_view> parts = fields(line);
    if (parts.size() != 3 || parts[0].front() == '#')
        return std::nullopt;
    std::size_t colon = parts[0].rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::string_view host = parts[0].substr(0, colon);
    std::optional<unsigned> port = portFrom(parts[0].substr(colon + 1));
    std::string fingerprint = canonicalFingerprint(parts[1]);
    if (!isAcceptableTrustHost(host) || !port || fingerprint.empty() || !isDate(parts[2]))
        return std::nullopt;
    return TrustEntry{toLowerAscii(host), *port, std::move(fingerprint), std::string(parts[2])};
}

std::string formatTrustLine(const TrustEntry& entry) {
    return entry.agent() + " " + entry.fingerprint + " " + entry.date;
}

std::string trustDateToday() {
    LocalTime today = toLocalTime(currentSeconds());
    return format("%04d-%02d-%02d", today.year, today.month, today.day);
}

} // namespace kv
