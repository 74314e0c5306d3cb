#include "manager/remote/RemoteSetupRows.h"

#include "common/Format.h"
#include "common/LocalTime.h"
#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

#include <algorithm>

namespace kv::remote {

namespace {

// The last moment the column shows (31 December 9999): beyond it a count is not a time this list can mean.
constexpr std::int64_t kLastShownSecond = 253402300799;

std::string boundedField(std::string_view field) {
    std::string clean;
    for (char c : field)
        if (!isControlCharacter(c))
            clean.push_back(c);
    if (clean.size() <= kMaxRemoteSetupField)
        return clean;
    std::size_t cut = kMaxRemoteSetupField;
    while (cut > 0 && (static_cast<unsigned char>(clean[cut]) & 0xC0) == 0x80)
        --cut;
    clean.resize(cut);
    return clean;
}

// Only a plain count of seconds is a time; anything else is shown as absent rather than as a made-up date.
std::optional<std::int64_t> secondsField(std::string_view field) {
    field = trim(field);
    if (field.empty() || field.size() > 12 ||
        !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int64_t seconds = 0;
    for (char c : field)
        seconds = seconds * 10 + (c - '0');
    if (seconds > kLastShownSecond)
        return std::nullopt;
    return seconds;
}

const char* plural(int count, const char* one, const char* more) {
    return count >= 2 ? more : one;
}

} // namespace

std::optional<RemoteSetupRow> parseRemoteSetupRow(std::string_view text) {
    std::vector<std::string> fields = splitCommas(text.substr(0, kMaxRemoteSetupText));
    if (fields.empty())
        return std::nullopt;
    fields.resize(std::max<std::size_t>(fields.size(), 4));
    return RemoteSetupRow{boundedField(fields[0]), boundedField(fields[1]), boundedField(fields[2]),
                          secondsField(fields[3])};
}

std::string lastUpdateText(std::optional<std::int64_t> secondsSince1970) {
    if (!secondsSince1970)
        return "-";
    const LocalTime t = toLocalTime(*secondsSince1970);
    const int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
    return format("%d/%d/%d at %d:%2.2d %s", t.month, t.day, t.year, hour, t.minute, t.hour < 12 ? "AM" : "PM");
}

std::string playerWarningText(int playerCount) {
    if (playerCount <= 0)
        return "There are currently no players on this server.";
    return format("WARNING: There %s %d player%s currently on the server.  Switching Server Setups will kick %s off.",
                  plural(playerCount, "is", "are"), playerCount, plural(playerCount, "", "s"),
                  plural(playerCount, "this player", "these players"));
}

std::string kickPlayersQuestion(int playerCount) {
    const char* who = plural(playerCount, "this player", "these players");
    return format("The server currently has %d player%s on it.  Changing server setups will result in %s being kicked "
                  "from the server.\n\nAre you sure you want to activate this new server setup and kick %s from the "
                  "server?",
                  playerCount, plural(playerCount, "", "s"), who, who);
}

std::string guardUploadDescription(std::string_view description) {
    std::string out;
    out.reserve(description.size() + 8);
    std::size_t start = 0;
    while (start < description.size()) {
        const std::size_t end = description.find_first_of("\r\n", start);
        const std::string_view line = description.substr(start, end == std::string_view::npos ? end : end - start);
        out.append(line);
        // The agent ends the description at a line that is exactly the end word; a blank after it keeps the line
        // as text and shows the same.
        if (line == protocol::kEndDescription)
            out.push_back(' ');
        if (end == std::string_view::npos)
            break;
        out.append("\r\n");
        const bool crLf = description[end] == '\r' && end + 1 < description.size() && description[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return out;
}

} // namespace kv::remote
