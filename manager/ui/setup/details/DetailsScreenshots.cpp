#include "manager/ui/setup/details/DetailsScreenshots.h"

#include "manager/ui/setup/details/CServerDetailsPropertySheet.h"

#include "manager/core/ManagerContext.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "gui/QtPrompter.h"
#include "gui/WidgetPictures.h"
#include "gui/XdgDesktopServices.h"

#include <QTabWidget>
#include <QTemporaryDir>

namespace kv::manager::ui {

bool saveDetailsScreenshots(const core::ManagerContext& context, const std::string& folder) {
    QTemporaryDir work;
    if (!work.isValid())
        return false;
    core::ManagerContext sample = context;
    sample.workingFolder = work.path().toStdString();
    sample.settingsFile = sample.workingFolder + "/Korvane.conf";
    makeDirectories(joinPath(sample.workingFolder, "LeagueInfo"));
    for (const char* league : {"Northern Ladder", "Open Cup"})
        writeFileAtomically(joinPath(sample.workingFolder, std::string("LeagueInfo/") + league + ".dat"),
                            "m_fTournamentModeEnabled=1\r\n", nullptr);

    const setups::MapTable maps = setups::MapTable::builtIn();
    setups::ServerSetup setup;
    setup.m_csName = "Spring Cup Final";
    setup.m_csSetupDescription = "The final of the spring cup.\r\nCaptains pick their sides.";
    setup.m_csServerName = "Harbor Gaming - Spring Cup";
    setup.m_csShortName = "Harbor Cup";
    setup.m_csAdminName = "Harbor Admin";
    setup.m_csAdminEmail = "admin@harbor.example";
    setup.m_csAdminPassword = "tide-42";
    setup.m_iServerRegion = 7;
    setup.m_iLogChatLevel = 2;
    setup.m_csMapName = maps.row(1).title;
    setup.m_csMapFile = maps.row(1).name;
    setup.m_fTournamentModeEnabled = 1;
    setup.m_csLeagueName = "Open Cup";
    setup.m_csMatchName = "Final";
    setup.m_csTournamentEventName = "Spring Cup";
    setup.m_iTournamentSwapLimit = 6;
    setup.m_acsTournamentTeamName = {"Home Team", "Away Team"};
    std::string error;
    const setups::SetupStore store(sample.workingFolder);
    if (!store.save(setup, &error))
        return false;

    gui::QtPrompter prompter;
    gui::XdgDesktopServices desktop;
    CServerDetailsPropertySheet sheet(sample, prompter, desktop, maps, setup, store.pathFor(setup.m_csName));
    sheet.resize(640, 720);
    bool ok = gui::saveWidgetPicture(sheet, folder, "details-general.png");
    sheet.tabs()->setCurrentIndex(CServerDetailsPropertySheet::Tournament);
    ok = gui::saveWidgetPicture(sheet, folder, "details-tournament.png") && ok;
    sheet.hide();
    return ok;
}

} // namespace kv::manager::ui
