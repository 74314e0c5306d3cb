#pragma once

#include <QDialog>

#include <string>

class QListWidget;
class QPushButton;

namespace kv::core {
struct ManagerContext;
}

namespace kv::manager::ui {

class LeaguePageView;

// Offered before a new setup is made: pick a league configuration of the LeagueInfo folder to start from, or none.
// Accepted with a league, chosenLeagueFile() is its .dat file; accepted through "Other/Non League", it is empty.
class CLeagueSelectionDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "League Selection";
    static constexpr const char* kExplanation =
        "Support for several online gaming leagues is provided by the Korvane Server Manager.\n\nIf you would like to "
        "create a server setup that is automatically configured for one of these leagues select it from the list "
        "below or click \"Other/Non League\" to continue creating a server setup not associated with any of these "
        "leagues.";
    static constexpr const char* kNote =
        "This league information is provided \"as-is\" and no guarantee as to the accuracy in relation to league rules "
        "is expressed or implied.  Please refer to your league rules before using these setups.";
    // <helpFolder>/<kHelpPage>; the window only asks for it through helpRequested().
    static constexpr const char* kHelpPage = "LeagueSelection.html";

    CLeagueSelectionDlg(const core::ManagerContext& context, QWidget* parent = nullptr);

    std::string chosenLeagueFile() const;

    QListWidget* list() const { return list_; }
    LeaguePageView* page() const { return page_; }
    QPushButton* selectButton() const { return select_; }
    QPushButton* otherButton() const { return other_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* helpButton() const { return help_; }

signals:
    void helpRequested();

private:
    void showSelectedPage();
    void selectLeague();

    const core::ManagerContext& context_;
    std::string chosen_;
    QListWidget* list_ = nullptr;
    LeaguePageView* page_ = nullptr;
    QPushButton* select_ = nullptr;
    QPushButton* other_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace kv::manager::ui
