#pragma once

#include <QString>
#include <QWidget>

namespace kv::core {
struct ManagerContext;
struct ManagerSettings;
} // namespace kv::core

namespace kv::gui {
class DesktopServices;
class Prompter;
} // namespace kv::gui

namespace kv::manager::ui {

// What every page of the preferences sheet shares: the context it reads, the seams it asks through, its help topic,
// and whether it was ever shown (only pages that were shown store their values on OK).
class CPreferencesPage : public QWidget {
    Q_OBJECT
public:
    CPreferencesPage(const core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                     QString helpTopic, QWidget* parent);

    bool wasShown() const { return shown_; }
    // The file name (without ".html") of the page's help topic in the help folder.
    const QString& helpTopic() const { return helpTopic_; }

    // Writes the page's values into `settings`.
    virtual void store(core::ManagerSettings& settings) const = 0;

protected:
    void showEvent(QShowEvent* event) override;
    // Called once, before the page is first shown.
    virtual void firstShown() {}
    // Opens a help topic of ours; a missing page is reported.
    void openHelp(const QString& topic);

    const core::ManagerContext& context_;
    gui::Prompter& prompter_;
    gui::DesktopServices& desktop_;

private:
    QString helpTopic_;
    bool shown_ = false;
};

} // namespace kv::manager::ui
