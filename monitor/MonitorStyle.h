#pragma once

#include "monitor/MonitorLine.h"

#include <QColor>

#include <string>
#include <string_view>

namespace kv::monitor {

// How a monitor line looks and how it is saved.
namespace monitor_style {

// Case-sensitive tests, first match wins: "WARNING", "ALERT" or "Exiting due to error" red, "Karma" yellow,
// "Game engine initialized" green, anything else `plain` (a pale cream unless the window says otherwise).
QColor lineColour(std::string_view text, const QColor& plain = QColor(250, 245, 199));
// A painted line with this text disables "Stop Server": the server is already going.
bool endsServer(std::string_view text);

// What is drawn: with the memory column "M/D/YYYY at HH:MM:SS (nK) text" (hour padded to width 2), else the text.
std::string displayText(const MonitorLine& line, bool showMemory);

// A line of a file saved from the agent's window: "M/D/YYYY-H:MM:SS[ (nK)] - text\r\n".
std::string stampedSaveLine(const MonitorLine& line, bool showMemory);
// A line of a file saved from the manager's windows, whose texts carry their own time stamp: "text\r\n".
std::string plainSaveLine(const MonitorLine& line);

// Proposed name of a saved log: "<setup> Server Log File at M-D-YYYY at HHMM.SS.log" ('/' in the setup name
// becomes '_' so that the name stays in the chosen folder).
std::string saveFileName(const std::string& setupName, std::int64_t now);

} // namespace monitor_style
} // namespace kv::monitor
