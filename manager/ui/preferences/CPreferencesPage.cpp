#include "manager/ui/preferences/CPreferencesPage.h"

#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/PreferencesHelp.h"

namespace kv::manager::ui {

CPreferencesPage::CPreferencesPage(const core::ManagerContext& context, gui::Prompter& prompter,
                                   gui::DesktopServices& desktop, QString helpTopic, QWidget* parent)
    : QWidget(parent), context_(context), prompter_(prompter), desktop_(desktop), helpTopic_(std::move(helpTopic)) {}

void CPreferencesPage::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        firstShown();
    }
    QWidget::showEvent(event);
}

void CPreferencesPage::openHelp(const QString& topic) {
    openHelpTopic(context_.helpFolder, topic, desktop_, prompter_, this);
}

} // namespace kv::manager::ui
