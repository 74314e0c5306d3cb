#include "manager/ui/setup/details/CServerDetailsTournamentTeamsPropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include "gui/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace kv::manager::ui {

CServerDetailsTournamentTeamsPropertyPage::CServerDetailsTournamentTeamsPropertyPage(setups::ServerSetup& setup,
                                                                                     gui::Prompter& prompter,
                                                                                     QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("teams"), parent) {
    auto* form = new QFormLayout(this);
    addText(form, "First team name:", setup.m_acsTournamentTeamName[0], "teamName0");
    addText(form, "First team password:", setup.m_acsTournamentTeamPassword[0], "teamPassword0");
    addText(form, "Second team name:", setup.m_acsTournamentTeamName[1], "teamName1");
    addText(form, "Second team password:", setup.m_acsTournamentTeamPassword[1], "teamPassword1");
    addFlag(form, "Team captains allowed", setup.m_fTournamentTeamCaptainsAllowed, "captainsAllowed");
    addFlag(form, "Assign the teams to their sides at random", setup.m_fTournamentEnableRandomTeamAssignments,
            "randomTeams");
    addFlag(form, "Open all weapon class slots", setup.m_fTournamentOpenAllWeaponClassSlots, "tournamentOpenSlots");
}

void CServerDetailsTournamentTeamsPropertyPage::shownAgain() {
    const bool on = tournamentMode_ ? tournamentMode_() : setup_.m_fTournamentModeEnabled != 0;
    if (!on)
        prompter_.showInformation(this,
                                  QStringLiteral("In order to configure these Tournament settings you must enable "
                                                 "Tournament Mode using the \"Tournament Options\" tab."),
                                  QStringLiteral("Tournament Mode Not Enabled"));
}

} // namespace kv::manager::ui
