#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

#include <functional>

namespace kv::manager::ui {

// Tournament teams: the names and join passwords of the two teams, captains and side assignment. Coming up while
// tournament mode is off, it says where to turn it on.
class CServerDetailsTournamentTeamsPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsTournamentTeamsPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                              QWidget* parent = nullptr);

    // Whether tournament mode is on as the sheet stands now (the options page may have changed it).
    void setTournamentModeQuery(std::function<bool()> query) { tournamentMode_ = std::move(query); }

protected:
    void shownAgain() override;

private:
    std::function<bool()> tournamentMode_;
};

} // namespace kv::manager::ui
