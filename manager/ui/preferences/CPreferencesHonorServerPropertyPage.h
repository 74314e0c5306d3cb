#pragma once

#include "manager/ui/preferences/CPreferencesPage.h"

class QLineEdit;
class QPushButton;

namespace kv::manager::ui {

class CIpAddressField;

// "Honor Server": the account on the game's ranking service that new setups hand to the game server.
class CPreferencesHonorServerPropertyPage : public CPreferencesPage {
    Q_OBJECT
public:
    CPreferencesHonorServerPropertyPage(const core::ManagerContext& context, gui::Prompter& prompter,
                                        gui::DesktopServices& desktop, QWidget* parent = nullptr);

    void store(core::ManagerSettings& settings) const override;

    // "Learn More": our help page on the honor server.
    void learnMore();

    QLineEdit* userName() const { return userName_; }
    QLineEdit* password() const { return password_; }
    CIpAddressField* address() const { return address_; }
    QPushButton* learnMoreButton() const { return learnMore_; }

private:
    QLineEdit* userName_ = nullptr;
    QLineEdit* password_ = nullptr;
    CIpAddressField* address_ = nullptr;
    QPushButton* learnMore_ = nullptr;
};

} // namespace kv::manager::ui
