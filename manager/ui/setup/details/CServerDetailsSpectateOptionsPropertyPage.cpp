#include "manager/ui/setup/details/CServerDetailsSpectateOptionsPropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace kv::manager::ui {

CServerDetailsSpectateOptionsPropertyPage::CServerDetailsSpectateOptionsPropertyPage(setups::ServerSetup& setup,
                                                                                     gui::Prompter& prompter,
                                                                                     QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("spectate"), parent) {
    auto* form = new QFormLayout(this);
    QComboBox* spectators = addList(form, "Maximum spectators:", "maxSpectators");
    choices::addNumbers(spectators, 0, 10);
    bindings_.choice(spectators, setup.m_iMaxSpectators, choices::number);
    addFlag(form, "Spectators may only watch players", setup.m_fSpectatePlayersOnly, "spectatePlayersOnly");
    addFlag(form, "Spectators only see the first-person view", setup.m_fSpectateFirstPersonOnly,
            "spectateFirstPersonOnly");
    addFlag(form, "Spectators may only watch their own team", setup.m_fSpectateFriendsOnly, "spectateFriendsOnly");
    addFlag(form, "Mute spectators", setup.m_fMuteSpectators, "muteSpectators");
}

} // namespace kv::manager::ui
