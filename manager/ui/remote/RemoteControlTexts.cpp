#include "manager/ui/remote/RemoteControlTexts.h"

#include "common/Format.h"
#include "common/Text.h"

namespace kv::manager::ui::remote_texts {

namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr int kRestartStep = 10;
constexpr const char* kDoNotRestart = "Do Not Auto-Restart";

} // namespace

bool isRunningStatus(std::string_view status) {
    return equalsNoCase(status, "Running") || equalsNoCase(status, "Starting") || equalsNoCase(status, "Crashed");
}

std::string upTimeText(std::uint32_t minutes, int crashes) {
    if (crashes == -1)
        return format("%lu minutes", static_cast<unsigned long>(minutes));
    return format("%lu min (%d crashes)", static_cast<unsigned long>(minutes), crashes);
}

std::optional<std::string> memoryText(std::int32_t currentK, std::int32_t peakK) {
    if (currentK == 0 || peakK == 0)
        return std::nullopt;
    return format("Current RAM Usage: %ldK   Peak RAM Usage: %ldK", static_cast<long>(currentK),
                  static_cast<long>(peakK));
}

std::string clockText(int minutes) {
    const int hour = minutes / 60;
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return format("%d:%2.2d %s", hour12, minutes % 60, hour < 12 ? "AM" : "PM");
}

std::optional<int> restartMinutes(std::string_view value) {
    // Plain digits only, and short: a sign, blanks or a longer run of digits is not a time of day.
    if (value.empty() || value.size() > 4)
        return std::nullopt;
    int minutes = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        minutes = minutes * 10 + (c - '0');
    }
    if (minutes >= kMinutesPerDay)
        return std::nullopt;
    return minutes;
}

std::string restartTimeText(std::string_view value) {
    if (value == "None")
        return "Not Enabled";
    if (std::optional<int> minutes = restartMinutes(value))
        return clockText(*minutes);
    return std::string(value);
}

std::vector<std::string> restartEntries() {
    std::vector<std::string> entries{kDoNotRestart};
    for (int minutes = 0; minutes < kMinutesPerDay; minutes += kRestartStep)
        entries.push_back(clockText(minutes));
    return entries;
}

std::string restartValueForEntry(int index) {
    if (index == 0)
        return "None";
    if (index < 0 || index > kMinutesPerDay / kRestartStep)
        return {};
    return std::to_string((index - 1) * kRestartStep);
}

int restartEntryForValue(std::string_view value) {
    if (value == "None")
        return 0;
    std::optional<int> minutes = restartMinutes(value);
    if (!minutes || *minutes % kRestartStep != 0)
        return -1;
    return 1 + *minutes / kRestartStep;
}

std::string hostOf(std::string_view address) {
    if (!address.empty() && address.front() == '[') {
        const std::size_t close = address.find(']');
        return std::string(close == std::string_view::npos ? address.substr(1) : address.substr(1, close - 1));
    }
    const std::size_t colon = address.find(':');
    // More than one colon: a bare IPv6 address, which has no port part.
    if (colon == std::string_view::npos || address.find(':', colon + 1) != std::string_view::npos)
        return std::string(address);
    return std::string(address.substr(0, colon));
}

std::string gameClientArgument(std::string_view address, std::string_view password) {
    std::string argument(address);
    if (!password.empty())
        argument.append("?Password=").append(password);
    return argument;
}

bool isPassableGamePassword(std::string_view password) {
    return password.size() <= 256 && password.find('?') == std::string_view::npos && !hasControlCharacter(password);
}

std::string gameAlreadyRunningText(std::string_view address, std::string_view password) {
    return "The game is already running.\n\nEither quit the current game and retry the operation or use the following "
           "command from within the console of the game:\n\nstart " +
           gameClientArgument(address, password);
}

} // namespace kv::manager::ui::remote_texts
