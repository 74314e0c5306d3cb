#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>
#include <string_view>

namespace kv::setups {

class MapTable;

// The administrator's account with the game's ranking service; one for the whole manager, not part of a setup.
struct ServerAuthorization {
    std::string userName;
    std::string password;
    std::string address;
};

struct GeneratorSettings {
    std::string templatePath;    // ConfigurationTemplate.ini in the working folder
    std::string documentsFolder; // the generated files go to <documents>/Korvane Server Setups
    std::string serverLocation;  // folder of the game server program, for the local start command
    ServerAuthorization authorization;
};

struct GenerateResult {
    bool ok = false;
    std::string title;   // caption of the message to show on failure
    std::string message; // what went wrong
};

inline constexpr std::string_view kOutputFolderName = "Korvane Server Setups";

// "GLOBAL", "LAN", "TOURNAMENT" or "LANTOURNAMENT" from the tournament and LAN flags.
std::string_view runMode(const ServerSetup& setup);

// Turns a setup into the game server's own files: <name>.ini from the template, and the .bat and .sh start lines.
class ConfigGenerator {
public:
    ConfigGenerator(GeneratorSettings settings, const MapTable& maps);

    std::string outputFolder() const;

    // Writes the three files and fills the setup's generated names and Windows start command. Trims trailing
    // white space from the name and, for a rotating setup, sets m_csMapFile to the first rotation map's file.
    GenerateResult generate(ServerSetup& setup) const;

    // The .ini text for a template: every placeholder replaced.
    std::string expandTemplate(ServerSetup& setup, std::string_view templateText) const;

    // When a known placeholder starts at `position`, writes its value, moves `position` to the placeholder's last
    // character and returns true; otherwise writes nothing and returns false.
    bool substitute(ServerSetup& setup, std::string& out, std::string_view templateText,
                    std::size_t& position) const;

    // The lines of [$MapList$]: "Maps=<file>" for each rotation map found in the map table, the first one last,
    // then "MapNum=<count>".
    std::string mapLines(const ServerSetup& setup) const;

    // The one-line contents of the generated start files.
    static std::string batLine(const ServerSetup& setup);
    static std::string shLine(const ServerSetup& setup);

    // The command line that runs the setup on this machine (after generate()); split it with splitCommandLine.
    std::string localStartCommand(const ServerSetup& setup) const;

private:
    GeneratorSettings settings_;
    const MapTable& maps_;
};

} // namespace kv::setups
