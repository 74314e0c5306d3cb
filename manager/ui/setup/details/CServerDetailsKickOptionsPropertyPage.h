#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

namespace kv::manager::ui {

// Kick options: idle players and spectators, and breaches of the rules of engagement.
class CServerDetailsKickOptionsPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsKickOptionsPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                          QWidget* parent = nullptr);
};

} // namespace kv::manager::ui
