#pragma once

#include "manager/remote/RemoteServerList.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QMenu;

namespace kv::manager::ui {

class CServerRemoteControlDlg;

// The remote control windows that are open, in the order they were opened: the main window owns this list. It
// opens a window per "Control Server" (several may show the same host), fills the "Active Remote Controlled
// Servers" menu from it, and closes them all when the manager ends, without waiting for the network.
class RemoteControlWindows : public QObject {
    Q_OBJECT
public:
    // Makes a window for an entry (not yet shown).
    using Factory = std::function<CServerRemoteControlDlg*(const remote::RemoteServerEntry&)>;

    explicit RemoteControlWindows(Factory factory, QObject* parent = nullptr);
    ~RemoteControlWindows() override;

    // Makes, shows and lists a window; it leaves the list when it closes.
    CServerRemoteControlDlg* open(const remote::RemoteServerEntry& entry);
    std::vector<CServerRemoteControlDlg*> windows() const;

    // Rebuilds `menu`: one "name (address)" item per window in open order, the menu disabled when there is none.
    void fillMenu(QMenu& menu);
    // Restores, raises and focuses window `index`.
    void bringToFront(int index);
    // Closes every window; none unlinks itself on the way.
    void closeAll();

private:
    Factory factory_;
    std::vector<QPointer<CServerRemoteControlDlg>> windows_;
    bool shuttingDown_ = false;
};

} // namespace kv::manager::ui
