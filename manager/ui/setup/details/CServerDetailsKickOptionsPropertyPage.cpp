#include "manager/ui/setup/details/CServerDetailsKickOptionsPropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace kv::manager::ui {

CServerDetailsKickOptionsPropertyPage::CServerDetailsKickOptionsPropertyPage(setups::ServerSetup& setup,
                                                                             gui::Prompter& prompter, QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("kick"), parent) {
    auto* form = new QFormLayout(this);
    addFlag(form, "Kick idle spectators", setup.m_fKickIdleSpectators, "kickIdleSpectators");
    QCheckBox* timed = addFlag(form, "Kick players who stay idle for a number of minutes",
                               setup.m_fKickIdlePlayersTimed, "kickIdleTimed");
    QComboBox* minutes = addList(form, "Number of Idle Minutes before player is kicked:", "idleMinutes");
    choices::addNumbers(minutes, 1, 15);
    bindings_.choice(minutes, setup.m_iIdlePlayerKickTime, choices::number);
    QCheckBox* rounds = addFlag(form, "Kick players who stay idle for a number of rounds",
                                setup.m_fKickIdlePlayersRounds, "kickIdleRounds");
    QComboBox* idleRounds = addList(form, "Number of Idle Rounds before player is kicked:", "idleRounds");
    choices::addNumbers(idleRounds, 1, 15);
    bindings_.choice(idleRounds, setup.m_iIdlePlayerKickRounds, choices::number);
    addFlag(form, "Kick players who break the rules of engagement", setup.m_fEnableROEKick, "roeKick");
    addFlag(form, "Count deaths caused towards the rules of engagement kick", setup.m_fEnableROEKickDeath,
            "roeKickDeath");
    addFlag(form, "Use the rules of engagement kick timer", setup.m_fEnableROEKickTimer, "roeKickTimer");
    QComboBox* limit = addList(form, "Friendly Fire (ROE) Limit:", "ffLimit");
    choices::addNumbers(limit, 50, 500, 50);
    bindings_.choice(limit, setup.m_iFFScoreLimit, choices::number);
    // The counts mean something only while their kick is on.
    connect(timed, &QCheckBox::toggled, minutes, &QWidget::setEnabled);
    connect(rounds, &QCheckBox::toggled, idleRounds, &QWidget::setEnabled);
    minutes->setEnabled(false);
    idleRounds->setEnabled(false);
}

} // namespace kv::manager::ui
