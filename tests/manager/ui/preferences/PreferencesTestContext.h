#pragma once

#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/CPreferencesSheet.h"
#include "manager/ui/preferences/PreferencesHelp.h"

#include "common/Clock.h"
#include "common/Files.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakeDesktopServices.h"
#include "tests/support/gui/FakePrompter.h"

#include <QApplication>
#include <QTabWidget>

#include "tests/support/ManualClock.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kv::test {

// A manager context in a folder of its own: working folder, settings file, help pages, a game installed at
// /opt/korvane, the defaults of a first start, and a fixed clock.
class PreferencesTest : public ::testing::Test {
protected:
    PreferencesTest() {
        guiApp();
        context.workingFolder = dir.file("work");
        makeDirectories(context.workingFolder);
        context.settingsFile = dir.file("config/Valdren/Korvane.conf");
        context.helpFolder = dir.file("help");
        for (const QString& topic : {manager::ui::help_topic::kOptions, manager::ui::help_topic::kColors,
                                     manager::ui::help_topic::kPlayerAdminList, manager::ui::help_topic::kMasterBanList,
                                     manager::ui::help_topic::kHonorServer, manager::ui::help_topic::kAboutHonorServer})
            dir.write("help/" + topic.toStdString() + ".html", "<html></html>");
        context.installation.folder = "/opt/korvane";
        clock.seconds = 1767225600; // 2026-01-01 00:00 UTC
        context.clock = &clock;
        rereadSettings();
    }

    void rereadSettings() { context.settings = core::readManagerSettings(context.settingsFile, context.installation); }

    // Shows the sheet with page `index` current, as a user's click on its tab does.
    static void visit(manager::ui::CPreferencesSheet& sheet, int index) {
        sheet.show();
        sheet.tabs()->setCurrentIndex(index);
        QApplication::processEvents();
    }

    std::string masterFile() const { return joinPath(context.workingFolder, "MasterBanList.ini"); }

    TempDir dir;
    ManualClock clock;
    core::ManagerContext context;
    FakePrompter prompter;
    FakeDesktopServices desktop;
};

enum Page { kOptions = 0, kColors = 1, kAdmins = 2, kBans = 3, kHonor = 4 };

} // namespace kv::test
