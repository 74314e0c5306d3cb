#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

namespace kv::manager::ui {

// Spectate options: how many may watch and what they see.
class CServerDetailsSpectateOptionsPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsSpectateOptionsPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                              QWidget* parent = nullptr);
};

} // namespace kv::manager::ui
