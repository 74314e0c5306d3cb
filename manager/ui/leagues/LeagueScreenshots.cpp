#include "manager/ui/leagues/LeagueScreenshots.h"

#include "manager/ui/leagues/CLeagueConfigurationCreationDlg.h"
#include "manager/ui/leagues/CLeagueSelectionDlg.h"

#include "gui/QtPrompter.h"
#include "gui/WidgetPictures.h"

#include <QListWidget>

namespace kv::manager::ui {

bool saveLeagueScreenshots(const core::ManagerContext& context, const setups::MapTable& maps,
                           const std::string& setupFile, const std::string& folder) {
    CLeagueSelectionDlg selection(context);
    const QList<QListWidgetItem*> shown =
        selection.list()->findItems(QStringLiteral("Northern Frontier League 6v6"), Qt::MatchExactly);
    if (!shown.isEmpty())
        selection.list()->setCurrentItem(shown.front());
    bool ok = !shown.isEmpty() && gui::saveWidgetPicture(selection, folder, "league-selection.png");
    selection.hide();

    gui::QtPrompter prompter; // nothing is asked: the window is only drawn
    CLeagueConfigurationCreationDlg custom(context, prompter, maps, setupFile);
    ok = custom.setupRead() && gui::saveWidgetPicture(custom, folder, "custom-league.png") && ok;
    custom.hide();
    return ok;
}

} // namespace kv::manager::ui
