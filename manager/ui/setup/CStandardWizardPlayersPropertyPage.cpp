#include "manager/ui/setup/CStandardWizardPlayersPropertyPage.h"

#include "manager/ui/setup/WizardLists.h"

#include "manager/core/ManagerContext.h"
#include "manager/setups/MapTable.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

constexpr const char* kStandardBlankText =
    "You have not entered a player password for this server setup.\n\nThis means you are creating a public server "
    "setup.  Are you sure you want to leave the player password blank and make this server a public server?";
constexpr const char* kTournamentBlankText =
    "You have not entered a player password for this server setup.\n\nThis means anyone connecting to the server "
    "will be able to enter.  Are you sure you want to leave the player password blank?";

} // namespace

CStandardWizardPlayersPropertyPage::CStandardWizardPlayersPropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Players"),
                  state.kind == SetupKind::Standard ? QStringLiteral("StandardWizardPlayersHelp")
                                                    : QStringLiteral("TournamentWizardPlayersHelp"),
                  parent) {
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Players must give the player password to join. Leave it empty for a "
                                           "server that anyone may join."),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* form = new QFormLayout;
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("playerPassword"));
    form->addRow(QStringLiteral("Player Password:"), password_);
    teamSize_ = new QComboBox(this);
    teamSize_->setObjectName(QStringLiteral("teamSize"));
    fillList(*teamSize_, numberEntries(1, state.kind == SetupKind::Standard ? 15 : 13));
    form->addRow(QStringLiteral("Players Per Team:"), teamSize_);
    layout->addLayout(form);
    layout->addStretch();
}

void CStandardWizardPlayersPropertyPage::fill() {
    password_->setText(QString::fromStdString(state_.setup.m_csPlayerPassword));
    selectValue(*teamSize_, state_.setup.m_iMaxTeamSize);
}

bool CStandardWizardPlayersPropertyPage::take() {
    const std::string password = trimRight(oneLine(password_->text().toStdString()));
    const bool standard = state_.kind == SetupKind::Standard;
    if (password.empty() && state_.context.settings.warnOnBlankPlayerPasswordDuringWizard != 0 &&
        !ask(standard ? kStandardBlankText : kTournamentBlankText, "Player Password Not Entered"))
        return false;
    setups::ServerSetup& s = state_.setup;
    s.m_csPlayerPassword = password;
    s.m_iMaxTeamSize = chosenValue(*teamSize_);
    if (standard) {
        const setups::MapInfo* map = s.mapInfo(state_.maps);
        s.m_iMaxPlayers = map && map->cooperative() ? s.m_iMaxTeamSize : 2 * s.m_iMaxTeamSize;
    }
    return true;
}

} // namespace kv::manager::ui
