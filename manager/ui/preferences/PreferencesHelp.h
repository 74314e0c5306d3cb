#pragma once

#include <QString>

#include <string>

class QWidget;

namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui

namespace kv::manager::ui {

// The help topics of the preferences (files <helpFolder>/<topic>.html, written by us in docs/help).
namespace help_topic {
inline const QString kOptions = QStringLiteral("PreferencesOptions");
inline const QString kColors = QStringLiteral("PreferencesColors");
inline const QString kPlayerAdminList = QStringLiteral("PreferencesPlayerAdminList");
inline const QString kMasterBanList = QStringLiteral("PreferencesMasterBanList");
inline const QString kHonorServer = QStringLiteral("PreferencesHonorServer");
inline const QString kAboutHonorServer = QStringLiteral("HonorServer"); // "Learn More"
} // namespace help_topic

// Opens <helpFolder>/<topic>.html in the user's browser. When there is no help folder, or the page is missing or
// cannot be opened, says so through `prompter` and returns false.
bool openHelpTopic(const std::string& helpFolder, const QString& topic, gui::DesktopServices& desktop,
                   gui::Prompter& prompter, QWidget* parent);

} // namespace kv::manager::ui
