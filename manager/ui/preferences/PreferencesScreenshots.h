#pragma once

#include <QString>

namespace kv::core {
struct ManagerContext;
}

namespace kv::manager::ui {

// Renders each page of the preferences sheet to a PNG in `folder` (preferences-options.png, preferences-colors.png,
// preferences-player-admins.png, preferences-master-ban-list.png, preferences-honor-server.png). The sheet shows
// the context's installation and folders with a few sample values filled in (admin and server names, player
// administrators, an honor server account, and a master ban list in a temporary working folder); nothing of the
// user's is read or written, and nothing is opened. Needs a QApplication. A picture that cannot be written is
// reported with qWarning.
void savePreferencesScreenshots(const core::ManagerContext& context, const QString& folder);

} // namespace kv::manager::ui
