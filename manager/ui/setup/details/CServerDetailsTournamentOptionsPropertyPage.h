#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

#include <QStringList>

#include <string>

class QCheckBox;

namespace kv::manager::ui {

// Tournament options: tournament mode, the league the setup follows, the match and event names, the planning,
// delay and swap times, the mercy rule and how ties are broken.
class CServerDetailsTournamentOptionsPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsTournamentOptionsPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                                const std::string& workingFolder, QWidget* parent = nullptr);

    // The league configurations of <workingFolder>/LeagueInfo: titles of its .dat files that can be setup names,
    // sorted.
    static QStringList leagueNames(const std::string& workingFolder);

    // Tournament mode as the page shows it (the setup's value while the page was never shown).
    bool tournamentModeEnabled() const;

private:
    QCheckBox* enabled_ = nullptr;
};

} // namespace kv::manager::ui
