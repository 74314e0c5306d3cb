#pragma once

#include "manager/remote/RemoteHost.h"

#include <functional>
#include <string_view>

class QWidget;

namespace kv::core {
struct ManagerContext;
}
namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui

namespace kv::manager::ui {

// Help pages of the anti-cheat windows, as `openHelp` receives them.
inline constexpr const char* kAntiCheatOptionsHelp = "AntiCheatOptions.html";
inline constexpr const char* kAntiCheatFilesHelp = "AntiCheatFiles.html";

// The message shown after an option file was sent: the standard files need a restart of the game server, any
// other file a load command from the game's console.
struct AntiCheatUsageNote {
    const char* text;
    const char* caption;
};
AntiCheatUsageNote antiCheatUsageNote(std::string_view optionFile);

// What the remote control window's anti-cheat button runs, modally and through `prompter`: the options, then the
// screenshot list, the log list, or the option files (list, editor, and the note after a successful upload).
void showAntiCheatOptions(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                          const remote::RemoteHost& host, std::function<void(const char* page)> openHelp,
                          QWidget* parent);

} // namespace kv::manager::ui
