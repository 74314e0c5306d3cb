#include "sim/SimSettings.h"

#include "common/DecimalNumber.h"
#include "common/Text.h"

#include <cctype>
#include <functional>
#include <map>

namespace kv::sim {

namespace {

// Whole-text integer check: the decimal-number rule alone would turn "abc" into 0 without a word.
bool readInt(std::string_view text, int low, int high, int& out) {
    text = trim(text);
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i == text.size() || text.size() > 10)
        return false;
    for (std::size_t j = i; j < text.size(); ++j)
        if (!std::isdigit(static_cast<unsigned char>(text[j])))
            return false;
    long long value = parseDecimalLong(text);
    if (value < low || value > high)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool readFlag(std::string_view text, bool& out) {
    text = trim(text);
    if (text == "1" || equalsNoCase(text, "true") || equalsNoCase(text, "yes") || equalsNoCase(text, "on"))
        out = true;
    else if (text == "0" || equalsNoCase(text, "false") || equalsNoCase(text, "no") || equalsNoCase(text, "off"))
        out = false;
    else
        return false;
    return true;
}

using Setter = std::function<bool(SimSettings&, std::string_view)>;

Setter intKnob(int SimSettings::*field, int low, int high) {
    return [=](SimSettings& s, std::string_view v) { return readInt(v, low, high, s.*field); };
}

Setter flagKnob(bool SimSettings::*field) {
    return [=](SimSettings& s, std::string_view v) { return readFlag(v, s.*field); };
}

const std::map<std::string, Setter>& setters() {
    static const std::map<std::string, Setter> table = {
        {"KVSIM_ADMIN_PORT", intKnob(&SimSettings::adminPort, 1, 65535)},
        {"KVSIM_QUERY_PORT", intKnob(&SimSettings::queryPort, 1, 65535)},
        {"KVSIM_BIND",
         [](SimSettings& s, std::string_view v) {
             v = trim(v);
             if (v.empty())
                 return false;
             s.bindAddress = std::string(v);
             return true;
         }},
        {"KVSIM_START_DELAY_MS", intKnob(&SimSettings::startDelayMs, 0, 3600000)},
        {"KVSIM_LINE_INTERVAL_MS", intKnob(&SimSettings::lineIntervalMs, 0, 3600000)},
        {"KVSIM_CRASH_AFTER",
         [](SimSettings& s, std::string_view v) {
             v = trim(v);
             if (v.empty() || v.find_first_not_of("0123456789.") != std::string_view::npos)
                 return false;
             double seconds = parseDecimalDouble(v);
             if (seconds > 86400.0 * 365)
                 return false;
             s.crashAfterSeconds = seconds;
             return true;
         }},
        {"KVSIM_CRASH_CODE", intKnob(&SimSettings::crashExitCode, 1, 255)},
        {"KVSIM_IGNORE_SHUTDOWN", flagKnob(&SimSettings::ignoreShutdown)},
        {"KVSIM_IGNORE_SIGTERM", flagKnob(&SimSettings::ignoreSigterm)},
        {"KVSIM_FLOOD_LINES", intKnob(&SimSettings::floodLines, 0, 100000000)},
        {"KVSIM_FLOOD_RATE", intKnob(&SimSettings::floodRate, 0, 10000000)},
        {"KVSIM_LONG_LINE", flagKnob(&SimSettings::longLine)},
        {"KVSIM_LONG_LINE_LENGTH", intKnob(&SimSettings::longLineLength, 1, 100000000)},
        {"KVSIM_PLAYERS", intKnob(&SimSettings::players, 0, 64)},
        {"KVSIM_ROUND_SECONDS", intKnob(&SimSettings::roundSeconds, 1, 86400)},
        {"KVSIM_SHUTDOWN_DELAY_MS", intKnob(&SimSettings::shutdownDelayMs, 0, 60000)},
        {"KVSIM_EXIT_WITH_PARENT", flagKnob(&SimSettings::exitWithParent)},
    };
    return table;
}

} // namespace

KeyValues parseKnobFile(std::string_view text) {
    KeyValues result;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string_view::npos)
            continue;
        result.emplace_back(std::string(trim(line.substr(0, equals))), std::string(trim(line.substr(equals + 1))));
    }
    return result;
}

void applyKnobs(SimSettings& settings, const KeyValues& knobs, std::vector<std::string>& warnings) {
    for (const auto& [name, value] : knobs) {
        auto it = setters().find(name);
        if (it == setters().end())
            warnings.push_back("unknown setting " + name);
        else if (!it->second(settings, value))
            warnings.push_back("setting " + name + " has an unusable value \"" + value + "\"");
    }
}

const std::vector<std::string>& knobNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto& entry : setters())
            all.push_back(entry.first);
        return all;
    }();
    return names;
}

} // namespace kv::sim
