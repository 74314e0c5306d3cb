#include "manager/ui/setup/NewSetupFlow.h"

#include "manager/ui/setup/CNewServerSetupWizard.h"
#include "manager/ui/setup/CSelectNewServerTypeDlg.h"

#include "gui/Prompter.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/SetupStore.h"

namespace kv::manager::ui {

std::optional<std::string> createNewSetup(const core::ManagerContext& context, gui::Prompter& prompter,
                                          gui::DesktopServices& desktop, const setups::MapTable& maps,
                                          const LeagueChooser& chooseLeague, QWidget* parent) {
    CSelectNewServerTypeDlg kindDialog(parent);
    if (!prompter.runDialog(kindDialog))
        return std::nullopt;
    const setups::GameVersion installed{context.installation.major, context.installation.minor,
                                        context.installation.build};
    WizardState state{{}, kindDialog.choice(), context, prompter, maps, installed};
    prepareNewSetup(state.setup, state.kind, context.settings, maps, installed);

    if (context.settings.showLeagueSelection != 0 && chooseLeague) {
        const std::optional<std::string> league = chooseLeague();
        if (!league)
            return std::nullopt;
        if (!league->empty()) {
            const setups::SetupStore store(context.workingFolder);
            // A league file names no setup, so the load reports failure even when every rule was read.
            store.loadLeagueFile(*league, state.setup);
            state.setup.m_csLeagueName = oneLine(state.setup.m_csLeagueName);
            const QString name = QString::fromStdString(state.setup.m_csLeagueName);
            const bool tournament = state.setup.m_fTournamentModeEnabled != 0;
            if (state.kind == SetupKind::Standard && tournament) {
                prompter.showInformation(
                    parent,
                    QStringLiteral("IMPORTANT: Even though you chose to create a Standard Server Setup the %1 league "
                                   "option you selected uses the \"Tournament Mode\" of Korvane for it's league "
                                   "games.  You will instead be creating a tournament server setup.")
                        .arg(name),
                    QStringLiteral("Creating Tournament Setup"));
                state.kind = SetupKind::Tournament;
                state.setup.m_acsTournamentTeamName = {"Home Team", "Away Team"};
            } else if (state.kind == SetupKind::Tournament && !tournament) {
                prompter.showInformation(
                    parent,
                    QStringLiteral("IMPORTANT: Even though you chose to create a Tournament Server Setup the %1 "
                                   "league you selected does not use the \"Tournament Mode\" of Korvane for it's "
                                   "league games.  You will instead be creating a standard server setup.")
                        .arg(name),
                    QStringLiteral("Creating Standard Setup"));
                state.kind = SetupKind::Standard;
                state.setup.m_acsTournamentTeamName = {};
            }
            // The league's maps limit the first map too.
            const auto offered = offeredMaps(maps, state.setup, installed, state.kind);
            if (!offered.empty() && !state.setup.mapAllowed(state.setup.m_csMapName)) {
                state.setup.m_csMapName = offered.front()->title;
                state.setup.m_csMapFile = offered.front()->name;
            }
        }
    }

    CNewServerSetupWizard wizard(state, desktop, parent);
    if (!prompter.runDialog(wizard))
        return std::nullopt;
    return setups::SetupStore(context.workingFolder).pathFor(state.setup.m_csName);
}

} // namespace kv::manager::ui
