#include "manager/ui/setup/CNewServerSetupWizard.h"

#include "manager/ui/setup/CStandardWizardAdminPropertyPage.h"
#include "manager/ui/setup/CStandardWizardMapSelectionPropertyPage.h"
#include "manager/ui/setup/CStandardWizardPlayersPropertyPage.h"
#include "manager/ui/setup/CStandardWizardServerNamePropertyPage.h"
#include "manager/ui/setup/CStandardWizardServerTypePropertyPage.h"
#include "manager/ui/setup/CStandardWizardSetupNamePropertyPage.h"
#include "manager/ui/setup/CStandardWizardSummaryPropertyPage.h"
#include "manager/ui/setup/CTournamentWizardMercyRulePropertyPage.h"
#include "manager/ui/setup/CTournamentWizardTeamInfoPropertyPage.h"
#include "manager/ui/setup/CTournamentWizardTieBreakingRulesPropertyPage.h"
#include "manager/ui/setup/CWizardChoicesPropertyPage.h"

#include "gui/DesktopServices.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/MapTable.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace kv::manager::ui {

namespace {

using S = setups::ServerSetup;
using Choice = CWizardChoicesPropertyPage::Choice;

QString q(const char* s) {
    return QString::fromUtf8(s);
}

CWizardPage* matchLength(WizardState& state, QWidget* parent) {
    const bool standard = state.kind == SetupKind::Standard;
    std::function<void(WizardState&)> propose;
    if (!standard)
        propose = [](WizardState& st) {
            if (const setups::MapInfo* map = st.setup.mapInfo(st.maps); map && map->maxPlayers > 0)
                st.setup.m_iRoundLength = map->maxPlayers;
        };
    return new CWizardChoicesPropertyPage(
        state, q("Match Length"), standard ? q("StandardWizardLengthHelp") : q("TournamentWizardPlayLengthHelp"),
        q("How many rounds a match has and how long each round lasts."),
        {intChoice(standard ? "Rounds Per Match:" : "Game-rounds Per Match:", "roundsPerMatch",
                   numberEntries(1, 25), &S::m_iRoundsPerMatch),
         intChoice(standard ? "Round Length (minutes):" : "Game-round Length (minutes):", "roundLength",
                   numberEntries(1, 25), &S::m_iRoundLength)},
        propose, parent);
}

std::vector<CWizardPage*> tournamentRules(WizardState& state, QWidget* parent) {
    std::vector<CWizardPage*> pages;
    pages.push_back(new CWizardChoicesPropertyPage(
        state, q("Pause Length"), q("TournamentWizardPauseHelp"),
        q("How long a team may pause the match with a time-out."),
        {intChoice("Maximum \"Time-Out\" Length (Min:Secs):", "pauseTime",
                   ListEntries{{q("Unlimited"), 0}} + timeEntries(15, 120, 15), &S::m_iTournamentPauseTime)},
        {}, parent));
    pages.push_back(new CWizardChoicesPropertyPage(
        state, q("Automatic Side Switching"), q("TournamentWizardSwapSidesHelp"),
        q("The teams change sides after a number of game-rounds and then get time to set up their rosters."),
        {intChoice("Rounds To Play Before Switching Sides:", "swapLimit",
                   ListEntries{{q("Disable Auto-Switch"), 0}} + numberEntries(1, 20), &S::m_iTournamentSwapLimit),
         intChoice("Post Switch Roster Setup Time (minutes and seconds):", "swapTime",
                   ListEntries{{q("No Limit"), 0}} + timeEntries(10, 180, 10) + timeEntries(240, 900, 60),
                   &S::m_iTournamentSwapTime)},
        {}, parent));
    pages.push_back(new CTournamentWizardTieBreakingRulesPropertyPage(state, parent));
    pages.push_back(new CTournamentWizardMercyRulePropertyPage(state, parent));
    return pages;
}

CWizardPage* setupTimes(WizardState& state, QWidget* parent) {
    return new CWizardChoicesPropertyPage(
        state, q("Mission Planning and Delay Times"), q("TournamentWizardSetupTimeHelp"),
        q("Time for the teams to plan before the match and to regroup between game-rounds."),
        {intChoice("Mission Planning Period Length (minutes):", "warmup",
                   ListEntries{{q("No Warm-Up Period"), 0}} + numberEntries(1, 10), &S::m_iTournamentWarmupDuration),
         intChoice("Between Round Delay Length (minutes and seconds):", "roundDelay",
                   timeEntries(10, 60, 5) + timeEntries(70, 120, 10), &S::m_iTournamentRoundDelayTime)},
        {}, parent);
}

CWizardPage* scoreboard(WizardState& state, QWidget* parent) {
    ListEntries modes;
    for (int i = 0; i < setups::kScoreModeCount; ++i) {
        const std::string_view word = setups::scoreModeWord(i);
        modes.emplace_back(QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size())), i);
    }
    Choice mode{q("Scoreboard Mode:"), q("scoreMode"), modes,
                [](const S& s) {
                    for (int i = 0; i < setups::kScoreModeCount; ++i)
                        if (setups::scoreModeWord(i) == s.m_csScoreMode)
                            return i;
                    return 0;
                },
                [](S& s, int i) { s.m_csScoreMode = std::string(setups::scoreModeWord(i)); }};
    return new CWizardChoicesPropertyPage(state, q("Scoreboard Operation"), q("TournamentWizardScoreboardHelp"),
                                          q("When players may look at the scoreboard."), {mode}, {}, parent);
}

} // namespace

CNewServerSetupWizard::CNewServerSetupWizard(WizardState& state, gui::DesktopServices& desktop, QWidget* parent)
    : QWizard(parent), state_(state), desktop_(desktop) {
    setWindowTitle(QStringLiteral("Create New Server Type Wizard"));
    setObjectName(QStringLiteral("newSetupWizard"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::HaveHelpButton, true);
    const bool standard = state.kind == SetupKind::Standard;
    std::vector<CWizardPage*> pages;
    pages.push_back(new CStandardWizardMapSelectionPropertyPage(state, this));
    if (!standard)
        pages.push_back(new CTournamentWizardTeamInfoPropertyPage(state, this));
    pages.push_back(new CStandardWizardPlayersPropertyPage(state, this));
    pages.push_back(matchLength(state, this));
    if (!standard)
        for (CWizardPage* page : tournamentRules(state, this))
            pages.push_back(page);
    pages.push_back(new CStandardWizardAdminPropertyPage(state, this));
    if (!standard) {
        pages.push_back(setupTimes(state, this));
        pages.push_back(scoreboard(state, this));
    }
    pages.push_back(new CStandardWizardServerTypePropertyPage(state, this));
    pages.push_back(new CStandardWizardServerNamePropertyPage(state, this));
    pages.push_back(new CStandardWizardSetupNamePropertyPage(state, this));
    pages.push_back(new CStandardWizardSummaryPropertyPage(state, this));
    for (CWizardPage* page : pages)
        addPage(page);
    connect(this, &QWizard::helpRequested, this, gui::guarded([this] { showHelp(); }));
    resize(640, 480);
}

void CNewServerSetupWizard::showHelp() {
    const auto* page = qobject_cast<const CWizardPage*>(currentPage());
    const QString caption = QStringLiteral("Help Not Available");
    const QString file = QDir(QString::fromStdString(state_.context.helpFolder)).filePath(q("NewSetupWizard.html"));
    if (state_.context.helpFolder.empty() || !QFileInfo(file).isFile()) {
        state_.prompter.showError(this, QStringLiteral("The help page %1 was not found.").arg(file), caption);
        return;
    }
    QUrl url = QUrl::fromLocalFile(file);
    if (page)
        url.setFragment(page->helpTopic());
    if (!desktop_.openUrl(url))
        state_.prompter.showError(this, QStringLiteral("The help page %1 could not be opened.").arg(file), caption);
}

} // namespace kv::manager::ui
