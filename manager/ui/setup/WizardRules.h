#pragma once

#include "manager/setups/MapInfo.h"
#include "manager/setups/ServerSetup.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::core {
struct ManagerSettings;
}
namespace kv::setups {
class MapTable;
}

namespace kv::manager::ui {

enum class SetupKind { Standard, Tournament };

// A new setup before the first page: the record's defaults, then the preferences, the first offered map and, for a
// tournament, tournament mode with the two default team names.
void prepareNewSetup(setups::ServerSetup& setup, SetupKind kind, const core::ManagerSettings& settings,
                     const setups::MapTable& maps, const setups::GameVersion& installed);

// The maps a map page offers, in table order: available in the installed game, allowed by the setup's league and,
// for a tournament, valid for tournaments.
std::vector<const setups::MapInfo*> offeredMaps(const setups::MapTable& maps, const setups::ServerSetup& setup,
                                                const setups::GameVersion& installed, SetupKind kind);

// The name that the Setup Name page proposes.
std::string proposeSetupName(const setups::ServerSetup& setup, SetupKind kind, bool includeServerName);

enum class AdminPasswordVerdict { Empty, ForbiddenSymbol, Weak, Good };
AdminPasswordVerdict judgeAdminPassword(std::string_view password);

// Text typed into a one-line field (or read from a file someone sent) with control characters and NUL removed, so
// that it cannot end a line of the setup file.
std::string oneLine(std::string_view text);
// The same for several lines: line feeds stay, carriage returns and other control characters go.
std::string cleanLines(std::string_view text);
std::string trimRight(std::string_view text);

// True when the name holds any of . / \ , : (or cannot be a file name at all).
bool setupNameRefused(std::string_view name);
// True when Server Setups holds a setup file of this name in any letter case.
bool setupNameInUse(const std::string& workingFolder, std::string_view name);

} // namespace kv::manager::ui
