#pragma once

#include "manager/remote/RemoteHost.h"
#include "manager/remote/RemoteRunner.h"

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kv::core {
struct ManagerContext;
}
namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

// The guided editor of one anti-cheat option file of a host: the file's text, the settings that fit the file with
// their descriptions (a double click appends one), and OK, which stores the text in the local working copy and
// sends it to the host. Ends with OK only when the host took the file.
class CConfigurePunkBusterServerOptions : public QDialog {
    Q_OBJECT
public:
    CConfigurePunkBusterServerOptions(core::ManagerContext& context, gui::Prompter& prompter, remote::RemoteHost host,
                                      std::string optionFile, bool isNew, std::function<void()> help,
                                      QWidget* parent = nullptr);

    // Where a download's result goes: the text field gets the working copy's text (none when the host had none)
    // and is enabled either way.
    void showDownloaded(bool ok);
    // Appends the setting of a table row as a line of its own and selects it for the value to be typed.
    void appendSetting(std::size_t row);
    // OK: store, send, and end when the host took it.
    void save();

    bool busy() const { return busy_; }
    const std::string& optionFile() const { return file_; }
    std::string workingCopy() const;

    QPlainTextEdit* textField() const { return text_; }
    QListWidget* settingsList() const { return settings_; }
    QPlainTextEdit* descriptionBox() const { return description_; }
    QLabel* statusLine() const { return status_; }
    QPushButton* button(const char* objectName) const; // "ok", "cancel", "help"

    void done(int result) override;

private:
    void download();
    void showDescription();
    void setBusy(bool busy);

    core::ManagerContext& context_;
    gui::Prompter& prompter_;
    remote::RemoteHost host_;
    std::string file_;
    std::function<void()> help_;
    remote::RemoteRunner* runner_ = nullptr;
    bool busy_ = false;
    bool closed_ = false;
    QPlainTextEdit* text_ = nullptr;
    QListWidget* settings_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace kv::manager::ui
