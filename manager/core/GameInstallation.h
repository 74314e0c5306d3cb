#pragma once

#include <string>

namespace kv::core {

// The installed game as its installer recorded it: group Operations of the settings of organisation Valdren,
// application Korvane, system scope (/etc/xdg/Valdren/Korvane.conf) first, then user scope
// (~/.config/Valdren/Korvane.conf).
struct GameInstallation {
    std::string folder; // InstallDir; empty when no scope has it
    int major = 0;      // Version "major.minor.build"; 0.0.0 when unreadable
    int minor = 0;
    int build = 0;

    // <folder>/System, where the server program lives; empty when the folder is unknown.
    std::string systemFolder() const;
};

// Empty paths stand for the default places below.
GameInstallation findGameInstallation(const std::string& systemSettingsFile = {},
                                      const std::string& userSettingsFile = {});

// The default places of the two settings files (the user one also holds the manager's preferences).
std::string systemGameSettingsFile();
std::string userGameSettingsFile();

} // namespace kv::core
