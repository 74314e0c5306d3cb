#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

namespace kv::manager::ui {

// Display and weapon options: what the players' display hides and which weapons are taken away.
class CServerDetailsHUDOptionsPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsHUDOptionsPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                         QWidget* parent = nullptr);
};

} // namespace kv::manager::ui
