#pragma once

#include "agent/AgentSettings.h"

#include <string>
#include <string_view>

namespace kv::agent::ui {

// What the settings dialog shows and returns, apart from the widgets.
struct ConfigureValues {
    std::string serverIp;
    std::string adminName;
    std::string password; // a new administrator password; empty keeps the current one
    std::string honorServerUserName;
    std::string honorServerPassword;
    std::string honorServerIp;
    std::string gameFolder;
    std::string controlFile;
    bool autoRestart = false;
    int restartHour = 3; // 0..23, the drop-down's index
    bool showMemoryUsage = false;
    bool createCsvMemoryLog = false;

    // Options: the stored settings; the game folder falls back to `foundGameFolder` when none is stored.
    static ConfigureValues fromSettings(const AgentSettings& settings, const std::string& foundGameFolder);
    // First run: as Options, with the default administrator name and password.
    static ConfigureValues forFirstRun(const AgentSettings& settings, const std::string& foundGameFolder);
};

namespace configure_values {

// A key line of KVSMRC.ini is read in pieces of 511 characters; a longer one would be read back as several lines,
// the later of which could pose as other keys. Values are therefore kept to this many characters.
inline constexpr std::size_t kMaxKeyLine = 500;
std::size_t maxValueLength(std::string_view key);
// A value as it may be stored under `key`: line breaks and NUL removed (they would start new key lines), cut to
// maxValueLength() without splitting a UTF-8 character.
std::string cleanValue(std::string_view key, std::string_view value);

// The game folder without one trailing '/' (a lone "/" stays).
std::string withoutTrailingSlash(std::string folder);
// The game folder check: an empty folder passes (it is then looked up), otherwise System/server.bin must exist.
bool gameFolderLooksRight(const std::string& folder);

// Restart hour from stored minutes (integer division), kept within the drop-down.
int restartHourFor(int minutes);

// Applies the fields that come before a possible restart, in the order the agent applies a confirmed dialog:
// password digest (when a password was entered), administrator name, addresses, game folder, restart time, and
// the control file. True when the control file changed (compared without regard to case): the server then restarts.
bool applyBeforeRestart(const ConfigureValues& values, AgentSettings& settings);
// Then the two memory switches.
void applyAfterRestart(const ConfigureValues& values, AgentSettings& settings);

// A confirmed first-run dialog takes only its own fields: the password digest, administrator name, address and the
// restart settings. A game folder is taken too, but only when the administrator typed one other than `initial`
// showed: the installation lookup's folder is found afresh at every start and must not be fixed in the file.
void applyFirstRun(const ConfigureValues& values, const ConfigureValues& initial, AgentSettings& settings);

} // namespace configure_values
} // namespace kv::agent::ui
