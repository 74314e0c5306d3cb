#pragma once

#include "manager/setups/MapInfo.h"
#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/WizardRules.h"

namespace kv::core {
struct ManagerContext;
}
namespace kv::gui {
class Prompter;
}
namespace kv::setups {
class MapTable;
}

namespace kv::manager::ui {

// What every page of one wizard run shares: the setup being made (in memory until Finish saves it) and the
// manager's context.
struct WizardState {
    setups::ServerSetup setup;
    SetupKind kind = SetupKind::Standard;
    const core::ManagerContext& context;
    gui::Prompter& prompter;
    const setups::MapTable& maps;
    setups::GameVersion installed;
};

} // namespace kv::manager::ui
