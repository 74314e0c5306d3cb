// The main window offers "Manage Remote Servers" only with the client library bound, opens a remote control window
// per "Control Server", lists the open ones in its "Servers" menu and closes them when it closes.
#include "tests/manager/ui/ManagerWindowFixture.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/remote/RemoteRunner.h"
#include "manager/ui/remote/CManageServersDlg.h"
#include "manager/ui/remote/CServerRemoteControlDlg.h"
#include "manager/ui/remote/RemoteControlWindows.h"
#include "tests/support/FreePort.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

#include <cstdlib>

using namespace kv;
using namespace kv::test;

namespace {

TEST_F(ManagerWindowTest, WithoutTheRemoteLibraryThereIsNoManageRemoteServersCommand) {
    openWindow();
    EXPECT_EQ(window->action("manageRemoteServers"), nullptr);
}

TEST_F(ManagerWindowTest, ManageRemoteServersOpensTheListOfTheWorkingFolder) {
    TempDir data;
    ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    const remote::RemoteBinding binding =
        remote::RemoteBinding::bind(remote::RemoteBinding::candidatePaths(KV_BIN_DIR), {});
    ASSERT_TRUE(binding.available()) << binding.detail();
    context.remoteLibrary = binding.library();
    ASSERT_TRUE(writeFileAtomically(joinPath(work(), "RemoteServerConfig.ini"), "Server=Alpha,192.0.2.1,admin,a1\n"));
    openWindow();
    QAction* manage = window->action("manageRemoteServers");
    ASSERT_NE(manage, nullptr);
    bool controlOffered = false;
    int rows = 0;
    prompter.dialogHandler = [&](QDialog& dialog) {
        auto& list = dynamic_cast<manager::ui::CManageServersDlg&>(dialog);
        rows = static_cast<int>(list.rows().size());
        list.selectRow(0);
        controlOffered = list.button("control")->isEnabled();
        list.button("control")->click();
        return list.result() == QDialog::Accepted;
    };
    manage->trigger();
    EXPECT_EQ(rows, 1);
    ASSERT_TRUE(controlOffered);
    // "Control Server" opened the host's remote control window.
    const auto open = window->remoteControlWindows()->windows();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]->windowTitle(), QStringLiteral("Server Remote Control - Alpha"));
    EXPECT_TRUE(open[0]->isVisible());
    QPointer<manager::ui::CServerRemoteControlDlg> control = open[0];
    control->close();
    ASSERT_TRUE(pump([&] { return control.isNull(); }));
    EXPECT_TRUE(window->remoteControlWindows()->windows().empty());
}

TEST_F(ManagerWindowTest, TheServersMenuListsTheOpenControlWindowsAndClosingTheManagerClosesThem) {
    TempDir data;
    ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    const remote::RemoteBinding binding =
        remote::RemoteBinding::bind(remote::RemoteBinding::candidatePaths(KV_BIN_DIR), {});
    ASSERT_TRUE(binding.available()) << binding.detail();
    context.remoteLibrary = binding.library();
    openWindow();
    QMenu* active = window->findChild<QMenu*>(QStringLiteral("activeRemoteServers"));
    ASSERT_NE(active, nullptr);
    auto* servers = qobject_cast<QMenu*>(active->parent());
    ASSERT_NE(servers, nullptr);
    emit servers->aboutToShow();
    EXPECT_FALSE(active->isEnabled()); // none open
    EXPECT_TRUE(active->actions().isEmpty());

    // Two windows, one host without an agent: they keep trying until the manager ends.
    const std::string nobody = "127.0.0.1:" + std::to_string(freeTcpPort());
    manager::ui::RemoteControlWindows& windows = *window->remoteControlWindows();
    QPointer<manager::ui::CServerRemoteControlDlg> first = windows.open({"Alpha", nobody, "admin", "a1"});
    QPointer<manager::ui::CServerRemoteControlDlg> second = windows.open({"Bravo", "127.0.0.2:1", "root", "b2"});
    ASSERT_TRUE(first && second);
    emit servers->aboutToShow();
    ASSERT_TRUE(active->isEnabled());
    ASSERT_EQ(active->actions().size(), 2);
    EXPECT_EQ(active->actions()[0]->text(), QString::fromStdString("Alpha (" + nobody + ")"));
    EXPECT_EQ(active->actions()[1]->text(), QStringLiteral("Bravo (127.0.0.2:1)"));
    first->showMinimized();
    active->actions()[0]->trigger(); // restored and raised
    EXPECT_FALSE(first->isMinimized());

    // A window closed by the administrator leaves the menu.
    second->close();
    ASSERT_TRUE(pump([&] { return second.isNull(); }));
    emit servers->aboutToShow();
    ASSERT_EQ(active->actions().size(), 1);
    second = windows.open({"Charlie", nobody, "admin", "c3"});

    window->close();
    ASSERT_TRUE(pump([&] { return first.isNull() && second.isNull(); }));
    EXPECT_TRUE(windows.windows().empty());
    EXPECT_TRUE(remote::RemoteRunner::waitForWorkers(std::chrono::seconds(30)));
}

} // namespace
