#include "manager/remote/HostStatus.h"

#include "common/Format.h"
#include "common/Text.h"

namespace kv::remote {

namespace {

// "up 45m", "up 2h 05m", and days past the first day ("up 3d 4h"), short enough for a list cell.
std::string upTimeText(std::uint32_t minutes) {
    const std::uint32_t hours = minutes / 60, days = hours / 24;
    if (days > 0)
        return format("up %ud %uh", days, hours % 24);
    if (hours > 0)
        return format("up %uh %02um", hours, minutes % 60);
    return format("up %um", minutes);
}

} // namespace

bool serverRuns(std::string_view statusWord) {
    return equalsNoCase(statusWord, "Running") || equalsNoCase(statusWord, "Starting") ||
           equalsNoCase(statusWord, "Crashed");
}

std::string cutForDisplay(std::string_view text, std::size_t limit) {
    std::string out;
    for (char c : text) {
        if (out.size() >= limit)
            break;
        if (!isControlCharacter(c))
            out += c;
    }
    if (out.size() < limit)
        return out;
    // Drop a sequence that the bound split: back to its lead byte, and that too unless the sequence is whole.
    std::size_t lead = out.size();
    while (lead > 0 && (static_cast<unsigned char>(out[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead > 0 && static_cast<unsigned char>(out[lead - 1]) >= 0xC0) {
        const unsigned char first = static_cast<unsigned char>(out[lead - 1]);
        const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
        if (out.size() - (lead - 1) < length)
            out.resize(lead - 1);
    }
    return out;
}

std::string hostStatusText(const HostStatus& s) {
    switch (s.reach) {
    case HostStatus::Reach::Checking:
        return "Checking...";
    case HostStatus::Reach::NotReachable:
        return "Not reachable";
    case HostStatus::Reach::LoginRefused:
        return "Login refused";
    case HostStatus::Reach::NotTrusted:
        return "Agent identity not trusted";
    case HostStatus::Reach::Answered:
        break;
    }
    if (serverRuns(s.status)) {
        std::string text = s.status + ":";
        if (!s.setupName.empty())
            text += " " + s.setupName + ",";
        if (s.players >= 0)
            text += format(" %d %s,", s.players, s.players == 1 ? "player" : "players");
        return text + " " + upTimeText(s.upTimeMinutes);
    }
    if (s.setupName.empty())
        return "No setup selected";
    // "Never Started" and "Stopped" read the same to an administrator; other words (an invalid setup) as they are.
    if (equalsNoCase(s.status, "Stopped") || equalsNoCase(s.status, "Never Started"))
        return "Stopped";
    return s.status.empty() ? std::string("Stopped") : s.status;
}

} // namespace kv::remote
