#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

namespace kv::manager::ui {

// Match options: round and match length, cheats, shadows, the scoreboard and the game mode.
class CServerDetailsMatchOptionsPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsMatchOptionsPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                           QWidget* parent = nullptr);
};

} // namespace kv::manager::ui
