#pragma once

#include "manager/ui/preferences/CMasterBanEntryDlg.h"

namespace kv::manager::ui {

// "Add New Player Ban" of a host's ban list: the master list's entry dialog with the designed enable rule, where
// only the field of the chosen type is open (the player name is still taken from the name field whatever the
// choice). "Add" refuses an empty value, what a ban list file cannot hold, and a date beyond 32-bit time.
class CBanListAddNewPlayerDlg : public CMasterBanEntryDlg {
    Q_OBJECT
public:
    CBanListAddNewPlayerDlg(std::int64_t now, gui::Prompter& prompter, std::function<void()> help,
                            QWidget* parent = nullptr);
};

} // namespace kv::manager::ui
