#pragma once

#include <functional>

class QDialog;
class QDialogButtonBox;

namespace kv::gui {

// OK, Cancel and Help for a sheet: OK accepts, Cancel rejects, Help runs `help`. The buttons are named "ok", "cancel"
// and "help" so that tests can find them. The caller places the box in its layout.
QDialogButtonBox* okCancelHelpButtons(QDialog& dialog, std::function<void()> help);

} // namespace kv::gui
