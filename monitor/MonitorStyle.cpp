#include "monitor/MonitorStyle.h"

#include "common/Format.h"
#include "common/LocalTime.h"

namespace kv::monitor::monitor_style {

namespace {
bool contains(std::string_view text, std::string_view needle) { return text.find(needle) != std::string_view::npos; }
} // namespace

QColor lineColour(std::string_view text, const QColor& plain) {
    if (contains(text, "WARNING") || contains(text, "ALERT") || contains(text, "Exiting due to error"))
        return QColor(255, 0, 0);
    if (contains(text, "Karma"))
        return QColor(255, 255, 0);
    if (contains(text, "Game engine initialized"))
        return QColor(0, 255, 0);
    return plain;
}

bool endsServer(std::string_view text) { return contains(text, "Exiting due to error"); }

std::string displayText(const MonitorLine& line, bool showMemory) {
    if (!showMemory)
        return line.text;
    LocalTime t = toLocalTime(line.time);
    std::string out = format("%d/%d/%d at %2d:%2.2d:%2.2d (%ldK) ", t.month, t.day, t.year, t.hour, t.minute,
                             t.second, static_cast<long>(line.memoryK));
    out.append(line.text);
    return out;
}

std::string stampedSaveLine(const MonitorLine& line, bool showMemory) {
    LocalTime t = toLocalTime(line.time);
    std::string out = format("%d/%d/%d-%d:%2.2d:%2.2d", t.month, t.day, t.year, t.hour, t.minute, t.second);
    if (showMemory)
        appendFormat(out, " (%ldK)", static_cast<long>(line.memoryK));
    out.append(" - ");
    out.append(line.text);
    out.append("\r\n");
    return out;
}

std::string plainSaveLine(const MonitorLine& line) { return line.text + "\r\n"; }

std::string saveFileName(const std::string& setupName, std::int64_t now) {
    std::string name = setupName;
    for (char& c : name)
        if (c == '/' || c == '\0')
            c = '_';
    LocalTime t = toLocalTime(now);
    return name + format(" Server Log File at %d-%d-%d at %2.2d%2.2d.%2.2d.log", t.month, t.day, t.year, t.hour,
                         t.minute, t.second);
}

} // namespace kv::monitor::monitor_style
