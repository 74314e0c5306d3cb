// The main window offers "Manage Remote Servers" only with the client library bound.
#include "tests/manager/ui/ManagerWindowFixture.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/ui/remote/CManageServersDlg.h"

#include <QAction>
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
    bool controlOffered = true;
    int rows = 0;
    prompter.dialogHandler = [&](QDialog& dialog) {
        auto& list = dynamic_cast<manager::ui::CManageServersDlg&>(dialog);
        rows = static_cast<int>(list.rows().size());
        list.selectRow(0);
        controlOffered = list.button("control")->isEnabled();
        return false;
    };
    manage->trigger();
    EXPECT_EQ(rows, 1);
    EXPECT_FALSE(controlOffered); // no remote control window in this version
}

} // namespace
