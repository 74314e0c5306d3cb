#pragma once

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace kv::core {
struct ManagerContext;
}
namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui
namespace kv::setups {
class MapTable;
}

namespace kv::manager::ui {

// The league configuration chosen for a new setup: its .dat file, "" for none, nothing when cancelled.
using LeagueChooser = std::function<std::optional<std::string>()>;

// New Server Setup: the kind, the league (when the preferences ask for it), then the wizard of the kind that the
// league plays. The file of the setup that Finish saved, or nothing when cancelled.
std::optional<std::string> createNewSetup(const core::ManagerContext& context, gui::Prompter& prompter,
                                          gui::DesktopServices& desktop, const setups::MapTable& maps,
                                          const LeagueChooser& chooseLeague, QWidget* parent);

} // namespace kv::manager::ui
