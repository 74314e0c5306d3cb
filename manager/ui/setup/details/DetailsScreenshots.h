#pragma once

#include <string>

namespace kv::core {
struct ManagerContext;
}

namespace kv::manager::ui {

// Renders two pages of "Edit Server Setup Options" (details-general.png, details-tournament.png) into `folder`, over
// a sample tournament setup in a temporary working folder; nothing of the user's is read or written. Needs a
// QApplication. False when a picture could not be written.
bool saveDetailsScreenshots(const core::ManagerContext& context, const std::string& folder);

} // namespace kv::manager::ui
