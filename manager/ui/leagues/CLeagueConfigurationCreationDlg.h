#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kv::core {
struct ManagerContext;
}

namespace kv::gui {
class Prompter;
}

namespace kv::setups {
class MapTable;
}

namespace kv::manager::ui {

// Turns a setup of the library into a custom league configuration: LeagueInfo/(Custom) <name>.dat in league form
// and its page, made from the description entered here. The setup is read from its file when the window opens and
// again on Save, so that what is saved is the file as it is then.
class CLeagueConfigurationCreationDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Create Custom League Configuration";
    static constexpr const char* kFillInText =
        "Fill in the fields below and add a description to create a new Custom League Configuration.  League "
        "Configurations can be used to quickly let KVSM users create server setups that meet your league's rules.";
    static constexpr const char* kCustomText =
        "User created custom league configurations will appear in the list of available League Configurations but "
        "have \"(Custom)\" inserted before the name you enter below.";
    static constexpr const char* kOverwriteText =
        "A league configuration file already exists with this name.\n\nAre you sure you want to overwrite the existing "
        "League Configuration?";
    static constexpr const char* kOverwriteCaption = "Overwrite Existing League Configuration";
    static constexpr const char* kNameCaption = "Invalid League Configuration Name";

    CLeagueConfigurationCreationDlg(const core::ManagerContext& context, gui::Prompter& prompter,
                                    const setups::MapTable& maps, std::string setupFile, QWidget* parent = nullptr);

    // Opens the window for a setup file of the library; says so instead when the file cannot be read.
    static void run(const core::ManagerContext& context, gui::Prompter& prompter, const setups::MapTable& maps,
                    const std::string& setupFile, QWidget* parent);

    // False when the setup file could not be read; the window then offers nothing to save.
    bool setupRead() const { return setupRead_; }
    // The listed title of the league written by Save.
    const std::string& savedTitle() const { return savedTitle_; }

    // Checks the name, asks before replacing a league, writes both files and closes; stays open on any failure.
    void save();

    QLineEdit* nameField() const { return name_; }
    QPlainTextEdit* descriptionField() const { return description_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* discardButton() const { return discard_; }

private:
    void refuseName(const QString& text);

    const core::ManagerContext& context_;
    gui::Prompter& prompter_;
    std::string setupFile_;
    bool setupRead_ = false;
    std::string savedTitle_;
    QLineEdit* name_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* discard_ = nullptr;
};

} // namespace kv::manager::ui
