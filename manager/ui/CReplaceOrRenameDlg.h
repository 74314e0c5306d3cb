#pragma once

#include "manager/setups/SetupLibrary.h"

#include <QDialog>

class QPushButton;

namespace kv::manager::ui {

// Asked when a setup file being added carries the name of one already in the library: replace it, or add the new
// one under a name with today's date and time. Closing the window adds nothing.
class CReplaceOrRenameDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Server Setup Already Exists";
    static constexpr const char* kExistsText =
        "The server setup you are trying to add already exists in your server configuration list.";
    static constexpr const char* kQuestionText =
        "Would you like to replace the existing server setup or rename the server setup you are trying to add so it "
        "includes today's date and time?";

    explicit CReplaceOrRenameDlg(QWidget* parent = nullptr);

    // Replace or Rename once accepted.
    setups::ImportChoice choice() const { return choice_; }

    QPushButton* replaceButton() const { return replace_; }
    QPushButton* renameButton() const { return rename_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    setups::ImportChoice choice_ = setups::ImportChoice::RefuseExisting;
    QPushButton* replace_ = nullptr;
    QPushButton* rename_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace kv::manager::ui
