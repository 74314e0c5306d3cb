#pragma once

#include <string>

namespace kv::core {
struct ManagerContext;
}

namespace kv::setups {
class MapTable;
}

namespace kv::manager::ui {

// Renders the League Selection window (league-selection.png, a shipped league selected) and the custom league
// window for `setupFile` (custom-league.png) into `folder`. Reads the context's LeagueInfo folder; writes nothing
// else. Needs a QApplication. False when a picture could not be made.
bool saveLeagueScreenshots(const core::ManagerContext& context, const setups::MapTable& maps,
                           const std::string& setupFile, const std::string& folder);

} // namespace kv::manager::ui
