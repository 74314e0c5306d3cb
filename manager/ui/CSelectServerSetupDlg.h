#pragma once

#include <QDialog>

#include <string>

class QPushButton;

namespace kv::core {
struct ManagerContext;
}

namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

class SetupBrowser;

// Picks a setup of the local library to add to a remote server: the library tree and description, as in the main
// window, with OK and Cancel.
class CSelectServerSetupDlg : public QDialog {
    Q_OBJECT
public:
    // A remote server's name and address come from its list; a title shows only this much of each.
    static constexpr int kMaxTitlePart = 80;

    CSelectServerSetupDlg(const core::ManagerContext& context, gui::Prompter& prompter, const QString& serverName,
                          const QString& serverAddress, QWidget* parent = nullptr);

    // The chosen setup, once accepted: its name and its own file.
    const std::string& chosenName() const { return chosenName_; }
    const std::string& chosenFile() const { return chosenFile_; }

    SetupBrowser* browser() const { return browser_; }
    QPushButton* okButton() const { return ok_; }

    void accept() override;

private:
    gui::Prompter& prompter_;
    SetupBrowser* browser_ = nullptr;
    QPushButton* ok_ = nullptr;
    std::string chosenName_;
    std::string chosenFile_;
};

} // namespace kv::manager::ui
