#pragma once

#include "manager/core/BanList.h"
#include "manager/ui/preferences/CPreferencesPage.h"

#include <string>

class QPushButton;
class QTreeWidget;

namespace kv::manager::ui {

// "Master Player Ban List": the master ban list of <workingFolder>/MasterBanList.ini, read by the merge
// into an empty list when the page is first shown. The sheet writes it back on OK, and only when the page was shown.
class CPreferencesMasterBanListPropertyPage : public CPreferencesPage {
    Q_OBJECT
public:
    CPreferencesMasterBanListPropertyPage(const core::ManagerContext& context, gui::Prompter& prompter,
                                          gui::DesktopServices& desktop, QWidget* parent = nullptr);

    // The ban list is a file of its own, not a setting: nothing to store here.
    void store(core::ManagerSettings&) const override {}

    // <workingFolder>/MasterBanList.ini
    std::string masterFile() const;
    // The rows, top first.
    const core::BanList& banList() const { return list_; }

    // The buttons' actions.
    void addEntry();
    void removeSelectedEntry();
    // Inserts an entry at the top of the list.
    void insertAtTop(const core::BanEntry& entry);

    QTreeWidget* view() const { return view_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }

protected:
    void firstShown() override;

private:
    void fillView();

    core::BanList list_;
    QTreeWidget* view_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
};

} // namespace kv::manager::ui
