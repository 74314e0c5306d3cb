#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

namespace kv::manager::ui {

// Message of the day: four lines shown to players as they join, and for how long.
class CServerDetailsMOTDPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsMOTDPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter, QWidget* parent = nullptr);
};

} // namespace kv::manager::ui
