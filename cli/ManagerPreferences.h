#pragma once

#include <string>

namespace kv::cli {

// What the command line takes from the manager's preferences and the platform when no option says otherwise.
struct ManagerPreferences {
    std::string workingFolder;   // the manager's per-user data folder
    std::string documentsFolder; // the user's documents folder
    std::string serverLocation;  // Options/ServerLocation, else the installed game's System folder
    std::string authUserName;    // Options/AuthServerUserName
    std::string authPassword;    // Options/AuthServerPassword
    std::string authAddress;     // Options/AuthServerIP
};

ManagerPreferences readManagerPreferences();

} // namespace kv::cli
