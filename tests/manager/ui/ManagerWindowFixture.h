#pragma once

#include "manager/ui/CKVServerManagerDlg.h"
#include "manager/ui/SetupBrowser.h"

#include "common/Clock.h"
#include "manager/core/ManagerContext.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakeDesktopServices.h"
#include "tests/support/gui/FakePrompter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace kv::test {

// Processes events until `done` or the bound passes; the bound only stops a hung test.
bool pump(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(60));

// A working folder with the shipped data, a documents and a help folder, and the manager's window over them with
// every question answered by a fake prompter.
class ManagerWindowTest : public ::testing::Test {
protected:
    ManagerWindowTest();
    ~ManagerWindowTest() override;

    std::string work() const { return context.workingFolder; }
    std::string setupFile(const std::string& title) const;
    // Writes a setup file of the library from its key=value lines.
    std::string writeSetup(const std::string& title, const std::string& lines) const;

    // Opens the main window and waits until the library is shown.
    void openWindow();
    // Waits until the tree has been rebuilt after a command.
    void waitForTree();
    manager::ui::SetupTree& tree() const { return *window->browser()->tree(); }
    // The node with this label (visible text), searched through the whole tree.
    QTreeWidgetItem* node(const QString& label) const;
    void select(const QString& label);
    QString description() const;
    // "root/category/setup" for every setup node, in tree order.
    std::vector<std::string> rows() const;

    TempDir dir;
    ManualClock clock;
    core::ManagerContext context;
    FakePrompter prompter;
    FakeDesktopServices desktop;
    manager::ui::MainWindowOptions windowOptions{false, true};
    std::unique_ptr<manager::ui::CKVServerManagerDlg> window;
    bool shown = false;
};

} // namespace kv::test
