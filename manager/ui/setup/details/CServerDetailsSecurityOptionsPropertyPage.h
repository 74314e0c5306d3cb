#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

namespace kv::manager::ui {

// Security options: the checks that connecting game clients must pass.
class CServerDetailsSecurityOptionsPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsSecurityOptionsPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                              QWidget* parent = nullptr);
};

} // namespace kv::manager::ui
