#include "manager/ui/preferences/PreferencesHelp.h"

#include "gui/DesktopServices.h"
#include "gui/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace kv::manager::ui {

bool openHelpTopic(const std::string& helpFolder, const QString& topic, gui::DesktopServices& desktop,
                   gui::Prompter& prompter, QWidget* parent) {
    const QString caption = QStringLiteral("Help Not Available");
    if (helpFolder.empty()) {
        prompter.showError(parent, QStringLiteral("The help pages of KV Server Manager were not found."), caption);
        return false;
    }
    const QString page = QDir(QString::fromStdString(helpFolder)).filePath(topic + QStringLiteral(".html"));
    if (!QFileInfo(page).isFile()) {
        prompter.showError(parent, QStringLiteral("The help page %1 was not found.").arg(page), caption);
        return false;
    }
    if (!desktop.openFile(page)) {
        prompter.showError(parent, QStringLiteral("The help page %1 could not be opened.").arg(page), caption);
        return false;
    }
    return true;
}

} // namespace kv::manager::ui
