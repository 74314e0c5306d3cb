#include "manager/ui/setup/details/CServerDetailsTournamentOptionsPropertyPage.h"

#include "manager/core/LeagueLibrary.h"

#include "manager/setups/ServerSetup.h"
#include "manager/setups/SetupStore.h"
#include "manager/ui/setup/details/ChoiceLists.h"

#include "common/Files.h"
#include "common/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>

#include <algorithm>

namespace kv::manager::ui {

QStringList CServerDetailsTournamentOptionsPropertyPage::leagueNames(const std::string& workingFolder) {
    QStringList names;
    for (const std::string& title : core::LeagueLibrary(workingFolder).names())
        names << fieldText(title);
    return names;
}

CServerDetailsTournamentOptionsPropertyPage::CServerDetailsTournamentOptionsPropertyPage(
    setups::ServerSetup& setup, gui::Prompter& prompter, const std::string& workingFolder, QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("tournament"), parent) {
    auto* form = new QFormLayout(this);
    enabled_ = addFlag(form, "Enable Tournament Mode", setup.m_fTournamentModeEnabled, "tournamentMode");

    QComboBox* league = addList(form, "League:", "leagueName");
    league->addItem(QStringLiteral("(No League)"), QByteArray());
    for (const QString& name : leagueNames(workingFolder))
        league->addItem(name, name.toUtf8());
    bindings_.choice(league, setup.m_csLeagueName);
    addText(form, "Match Name:", setup.m_csMatchName, "matchName");
    addText(form, "Tournament Event Name:", setup.m_csTournamentEventName, "eventName");

    const QString noWarmup = QStringLiteral("No Warm-Up Period");
    QComboBox* warmup = addList(form, "Mission Planning Period Time (minutes):", "warmupDuration");
    choices::addWord(warmup, noWarmup, 0);
    choices::addNumbers(warmup, 1, 10);
    bindings_.choice(warmup, setup.m_iTournamentWarmupDuration, choices::number);

    QComboBox* delay = addList(form, "Delay Between Rounds (minutes:seconds):", "roundDelay");
    choices::addTimes(delay, 10, 60, 5);
    choices::addTimes(delay, 70, 120, 10);
    choices::addTimes(delay, 180, 600, 60);
    bindings_.choice(delay, setup.m_iTournamentRoundDelayTime, choices::minutesSeconds);

    const QString noSwitch = QStringLiteral("Disable Auto-Switch");
    QComboBox* limit = addList(form, "Switch sides after playing this many rounds:", "swapLimit");
    choices::addWord(limit, noSwitch, 0);
    choices::addNumbers(limit, 1, 20);
    bindings_.choice(limit, setup.m_iTournamentSwapLimit, choices::number);

    const QString noLimit = QStringLiteral("No Limit");
    QComboBox* swap = addList(form, "Setup Time after swap:", "swapTime");
    choices::addWord(swap, noLimit, 0);
    choices::addTimes(swap, 20, 120, 10);
    choices::addTimes(swap, 180, 900, 60);
    bindings_.choice(swap, setup.m_iTournamentSwapTime, [noLimit](int s) { return choices::timeOrWord(s, noLimit); });

    addFlag(form, "Mercy rule", setup.m_fTournamentMercyRule, "mercyRule");

    // Three choices over two flags: sudden death alone, or score first and then sudden death.
    QComboBox* ties = addList(form, "Tie Breaking Options:", "tieBreaking");
    ties->addItems({QStringLiteral("Ties Allowed"), QStringLiteral("No Ties - Break With Overtime Rounds"),
                    QStringLiteral("No Ties - Break By Team Score")});
    bindings_.custom(
        [ties, &setup] {
            ties->setCurrentIndex(setup.m_fTournamentTieScore ? 2 : setup.m_fTournamentTieSuddenDeath ? 1 : 0);
        },
        [ties, &setup] {
            setup.m_fTournamentTieScore = ties->currentIndex() == 2 ? 1 : 0;
            setup.m_fTournamentTieSuddenDeath = ties->currentIndex() == 0 ? 0 : 1;
        },
        [ties] { return QVariant(ties->currentIndex()); });
}

bool CServerDetailsTournamentOptionsPropertyPage::tournamentModeEnabled() const {
    return wasShown() ? enabled_->isChecked() : setup_.m_fTournamentModeEnabled != 0;
}

} // namespace kv::manager::ui
