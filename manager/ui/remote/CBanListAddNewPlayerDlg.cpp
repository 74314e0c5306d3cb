#include "manager/ui/remote/CBanListAddNewPlayerDlg.h"

#include <utility>

namespace kv::manager::ui {

CBanListAddNewPlayerDlg::CBanListAddNewPlayerDlg(std::int64_t now, gui::Prompter& prompter, std::function<void()> help,
                                                 QWidget* parent)
    : CMasterBanEntryDlg(now, prompter, std::move(help), NameField::OnlyWhenChosen, parent) {
    setObjectName(QStringLiteral("addNewPlayerBan"));
}

} // namespace kv::manager::ui
