#pragma once

#include <string>

namespace kv::agent {

// The game's installation folder as its installer recorded it: key InstallDir in group Operations of the settings of
// organisation Valdren, application Korvane; system scope (/etc/xdg/Valdren/Korvane.conf) first, then user scope
// (~/.config/Valdren/Korvane.conf). Empty when neither has it.
std::string findGameFolder(const std::string& systemSettingsFile = {}, const std::string& userSettingsFile = {});

// The default places of the two settings files.
std::string systemGameSettingsFile();
std::string userGameSettingsFile();

} // namespace kv::agent
