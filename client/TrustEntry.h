#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// One line of the trust file: "HOST:PORT FINGERPRINT DATE", e.g. "game1.example.org:49310 AB:CD:...:EF 2026-12-07".
// The host is kept in lower case, the fingerprint as certificateFingerprint() writes it.
struct TrustEntry {
    std::string host;
    unsigned port = 0;
    std::string fingerprint;
    std::string date; // YYYY-MM-DD in local time, when it was recorded

    // "host:port", as the line and every message name the agent.
    std::string agent() const;
};

// Whether `host` may become part of a trust file line: not empty, at most 255 bytes, and free of blanks, control
// characters, '#' and ':', any of which could start a second field, key or comment on the line.
bool isAcceptableTrustHost(std::string_view host);

// The entry on one line (its line end removed); empty for comments, blank lines and anything that does not follow
// the format, which the file keeps but never matches.
std::optional<TrustEntry> parseTrustLine(std::string_view line);
std::string formatTrustLine(const TrustEntry& entry);

// Today in local time, as the DATE field is written.
std::string trustDateToday();

} // namespace kv
