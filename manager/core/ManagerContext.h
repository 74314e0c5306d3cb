#pragma once

#include "manager/core/GameInstallation.h"
#include "manager/core/ManagerSettings.h"

#include <memory>
#include <string>

namespace kv {
class Clock;
class RemoteControlLibrary;
} // namespace kv

namespace kv::core {

// What every part of the manager works with: its folders, the game it found, its preferences and its clock. Made
// once at start by main() (tests make their own) and passed by reference; nothing here is global.
struct ManagerContext {
    std::string workingFolder;   // holds Server Setups, LeagueInfo, the ban lists; also the current folder
    std::string documentsFolder; // generated game files go to <documents>/Korvane Server Setups
    std::string settingsFile;    // the preferences (group Options), mode 0600
    std::string helpFolder;      // our HTML help pages; empty when none was found
    GameInstallation installation;
    ManagerSettings settings;
    const Clock* clock = nullptr; // never null once main() or a test set it up
    // The client library bound at start; null when remote support is off (remote commands are then not offered).
    std::shared_ptr<const RemoteControlLibrary> remoteLibrary;
};

} // namespace kv::core
