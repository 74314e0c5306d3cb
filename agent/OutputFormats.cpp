#include "agent/OutputFormats.h"

#include "common/Format.h"
#include "common/LocalTime.h"

namespace kv::agent::output_formats {

namespace {

std::string safeName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c == '/' || c == '\0')
            c = '_';
    return out;
}

std::string logName(const char* kind, const char* extension, const std::string& setupName, std::int64_t seconds) {
    LocalTime t = toLocalTime(seconds);
    return format("ServerLogs/%s %s at %d-%d-%d at %2.2d%2.2d.%2.2d.%s", safeName(setupName).c_str(), kind, t.month,
                  t.day, t.year, t.hour, t.minute, t.second, extension);
}

void appendStamp(std::string& out, const OutputLine& line, bool showMemory) {
    LocalTime t = toLocalTime(line.time);
    appendFormat(out, "%d/%d/%d-%d:%2.2d:%2.2d", t.month, t.day, t.year, t.hour, t.minute, t.second);
    if (showMemory)
        appendFormat(out, " (%ldK)", static_cast<long>(line.memoryK));
}

std::string alert(std::int64_t now, const std::string& text) {
    LocalTime t = toLocalTime(now);
    return format("%d/%d/%d-%d:%2.2d:%2.2d - ALERT - %s", t.month, t.day, t.year, t.hour, t.minute, t.second,
                  text.c_str());
}

} // namespace

std::string runningLogName(const std::string& setupName, std::int64_t seconds) {
    return logName("Server Log File", "log", setupName, seconds);
}

std::string memoryCsvName(const std::string& setupName, std::int64_t seconds) {
    return logName("Server Memory Log", "csv", setupName, seconds);
}

std::string timeStamp(std::int64_t seconds) {
    LocalTime t = toLocalTime(seconds);
    return format("%d/%d/%d-%d:%2.2d:%2.2d", t.month, t.day, t.year, t.hour, t.minute, t.second);
}

std::string runningLogLine(const OutputLine& line, bool showMemory) {
    std::string out;
    appendRunningLogLine(out, timeStamp(line.time), line.memoryK, showMemory, line.text);
    return out;
}

void appendRunningLogLine(std::string& out, std::string_view stamp, std::int32_t memoryK, bool showMemory,
                          std::string_view text) {
    out.append(stamp);
    if (showMemory)
        appendFormat(out, " (%ldK)", static_cast<long>(memoryK));
    out.append("- ");
    out.append(text);
    out.append("\r\n");
}

std::string listingLine(const OutputLine& line, bool showMemory) {
    std::string out;
    out.reserve(line.text.size() + 32);
    appendStamp(out, line, showMemory);
    out.append(" - ");
    out.append(line.text);
    return out;
}

std::string crashAlert(std::int64_t now, std::int64_t minutes) {
    return alert(now, format("Server Stopped By Crash Or Task Manager after %d minutes", static_cast<int>(minutes)));
}

std::string userStopAlert(std::int64_t now) { return alert(now, "Server Stopped By User"); }

} // namespace kv::agent::output_formats
