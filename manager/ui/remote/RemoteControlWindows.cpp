#include "manager/ui/remote/RemoteControlWindows.h"

#include "gui/SlotGuard.h"
#include "manager/ui/remote/CServerRemoteControlDlg.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace kv::manager::ui {

RemoteControlWindows::RemoteControlWindows(Factory factory, QObject* parent)
    : QObject(parent), factory_(std::move(factory)) {}

RemoteControlWindows::~RemoteControlWindows() {
    closeAll();
}

CServerRemoteControlDlg* RemoteControlWindows::open(const remote::RemoteServerEntry& entry) {
    if (shuttingDown_ || !factory_)
        return nullptr;
    CServerRemoteControlDlg* window = factory_(entry);
    if (!window)
        return nullptr;
    window->setAttribute(Qt::WA_DeleteOnClose);
    windows_.emplace_back(window);
    connect(window, &CServerRemoteControlDlg::closed, this, gui::guarded([this, window] {
                // While the manager ends the list is left alone: closeAll() walks it.
                if (shuttingDown_)
                    return;
                std::erase_if(windows_, [window](const QPointer<CServerRemoteControlDlg>& w) {
                    return w.isNull() || w.data() == window;
                });
            }));
    window->open();
    return window;
}

std::vector<CServerRemoteControlDlg*> RemoteControlWindows::windows() const {
    std::vector<CServerRemoteControlDlg*> open;
    for (const QPointer<CServerRemoteControlDlg>& w : windows_)
        if (w)
            open.push_back(w.data());
    return open;
}

void RemoteControlWindows::fillMenu(QMenu& menu) {
    menu.clear();
    const std::vector<CServerRemoteControlDlg*> open = windows();
    for (std::size_t i = 0; i < open.size(); ++i) {
        const remote::RemoteServerEntry& e = open[i]->entry();
        QAction* item = menu.addAction(
            QStringLiteral("%1 (%2)").arg(QString::fromStdString(e.serverName), QString::fromStdString(e.address)));
        item->setObjectName(QStringLiteral("activeRemoteServer%1").arg(i));
        connect(item, &QAction::triggered, this,
                gui::guarded([this, index = static_cast<int>(i)](bool) { bringToFront(index); }));
    }
    menu.setEnabled(!open.empty());
}

void RemoteControlWindows::bringToFront(int index) {
    const std::vector<CServerRemoteControlDlg*> open = windows();
    if (index < 0 || static_cast<std::size_t>(index) >= open.size())
        return;
    CServerRemoteControlDlg* window = open[static_cast<std::size_t>(index)];
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

void RemoteControlWindows::closeAll() {
    shuttingDown_ = true;
    // Each close stops the window's timer and status query and drops its runner; nothing waits for a call.
    for (const QPointer<CServerRemoteControlDlg>& w : std::vector(windows_))
        if (w)
            w->close();
    windows_.clear();
}

} // namespace kv::manager::ui
