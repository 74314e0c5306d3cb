#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

namespace kv::manager::ui {

// Player options: the join password, player and team limits, honor range, team balance, the opponents of cooperative
// maps and the player groups allowed.
class CServerDetailsPlayerOptionsPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsPlayerOptionsPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                            QWidget* parent = nullptr);
};

} // namespace kv::manager::ui
