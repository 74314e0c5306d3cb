#pragma once

#include <string>

class QWidget;

namespace kv::agent::ui {

// The tool tips of the settings dialogs. Each stays up for ten minutes and wraps at 340 pixels.
namespace configure_help {

inline constexpr int kToolTipDuration = 600000;
inline constexpr int kToolTipWidth = 340;

std::string serverIp();
std::string adminName();
// `settingsDialog` adds the note that an empty field keeps the current password.
std::string password(bool settingsDialog);
std::string gameFolder();
std::string controlFile();
std::string showMemoryUsage();
std::string csvMemoryLog();
std::string selectButton();
// `field` is "Honor Server User Name", "Honor Server Password" or "Honor Server IP Address".
std::string honorField(const std::string& field);
// The note beside the ranking-service fields.
std::string honorNote();

// Gives `widget` the help text as its tool tip (kept as the property "helpText" as well).
void attach(QWidget* widget, const std::string& text);

} // namespace configure_help
} // namespace kv::agent::ui
