#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace kv::core {

struct GameInstallation;

// Colours are stored as the game's tools always stored them: 0x00BBGGRR.
using ColourRef = std::uint32_t;

constexpr ColourRef colourRef(int red, int green, int blue) {
    return static_cast<ColourRef>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// The manager's preferences (group Options of its settings file), with their defaults.
struct ManagerSettings {
    static constexpr ColourRef kDefaultTextColor = colourRef(250, 245, 199);
    static constexpr ColourRef kDefaultBgColor = colourRef(29, 42, 48);
    static constexpr ColourRef kDefaultListTextColor = colourRef(241, 194, 0);
    static constexpr ColourRef kDefaultListBgColor = 0;

    int showLeagueSelection = 1;
    int showRunLocalServerHelp = 1;
    int securityEnableCodeCheck = 1;
    int securityEnableMapCheck = 1;
    int warnOnBlankPlayerPasswordDuringWizard = 1;
    std::string defAdminEmail;
    std::string defAdminName;
    std::string defAdminPassword;
    std::string defServerName;
    std::string serverLocation; // default: the game's System folder found at start
    std::string defaultPlayerAdminList; // names, each followed by '&'
    int includeServerNameInSetupNames = 0;
    ColourRef textColor = kDefaultTextColor;
    ColourRef bgColor = kDefaultBgColor;
    ColourRef listTextColor = kDefaultListTextColor;
    ColourRef listBgColor = kDefaultListBgColor;
    std::string authServerUserName;
    std::string authServerPassword;
    std::string authServerIP;
    int firstRun = 1; // not edited by the preferences; cleared once the greeting was shown
    // Key AddressReportURL, not edited by the preferences: the page that tells the wizards this PC's Internet
    // address (a GET whose reply body is the address).
    std::string addressReportUrl = "https://api.ipify.org";

    // The four colours back at their defaults.
    void restoreDefaultColours();
};

// One stored value: its key and where it lives. The table is in the order the preferences write them, so reading,
// writing and the defaults share one list.
struct ManagerSetting {
    using Member = std::variant<int ManagerSettings::*, ColourRef ManagerSettings::*, std::string ManagerSettings::*>;
    std::string_view key;
    Member member;
};

// The nineteen values that the preferences write, in their order (FirstRun is not among them).
std::span<const ManagerSetting> managerSettingsTable();

// The manager's settings file: the user-scope settings of organisation Valdren, application Korvane.
std::string managerSettingsFile();

// Reads group Options of `file`; what is absent keeps its default, ServerLocation defaults to the installation's
// System folder. A missing or unreadable file gives the defaults.
ManagerSettings readManagerSettings(const std::string& file, const GameInstallation& installation);

// Writes the nineteen values into group Options of `file` (other groups and keys are kept), mode 0600. False with
// `error` when the file cannot be written; it is then left as it was.
bool writeManagerSettings(const std::string& file, const ManagerSettings& settings, std::string* error = nullptr);

// Stores FirstRun=0 so that the greeting is shown once.
bool storeFirstRunDone(const std::string& file, std::string* error = nullptr);

} // namespace kv::core
