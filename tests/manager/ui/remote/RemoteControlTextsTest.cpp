// The remote control window's texts and its restart time dialog, without an agent.
#include "manager/ui/remote/RemoteControlTexts.h"
#include "manager/ui/remote/CRemoteServerConfigureAutoRestartDlg.h"

#include "tests/support/gui/FakePrompter.h"

#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace kv::manager::ui {
namespace {

namespace texts = remote_texts;

TEST(RemoteControlTexts, UpTimeMemoryAndRunningWords) {
    EXPECT_EQ(texts::upTimeText(42, -1), "42 minutes");
    EXPECT_EQ(texts::upTimeText(42, 3), "42 min (3 crashes)");
    EXPECT_EQ(texts::upTimeText(4294967295u, 0), "4294967295 min (0 crashes)");
    EXPECT_EQ(texts::memoryText(1024, 2048), "Current RAM Usage: 1024K   Peak RAM Usage: 2048K");
    EXPECT_FALSE(texts::memoryText(0, 2048)); // the field keeps what it showed
    EXPECT_FALSE(texts::memoryText(1024, 0));
    for (const char* running : {"Running", "STARTING", "crashed"})
        EXPECT_TRUE(texts::isRunningStatus(running)) << running;
    for (const char* stopped : {"Stopped", "Never Started", "", "Running "})
        EXPECT_FALSE(texts::isRunningStatus(stopped)) << stopped;
}

TEST(RemoteControlTexts, RestartTimeOnARealTwelveHourClock) {
    EXPECT_EQ(texts::restartTimeText("785"), "1:05 PM");
    EXPECT_EQ(texts::restartTimeText("0"), "12:00 AM");
    EXPECT_EQ(texts::restartTimeText("720"), "12:00 PM");
    EXPECT_EQ(texts::restartTimeText("59"), "12:59 AM");
    EXPECT_EQ(texts::restartTimeText("1439"), "11:59 PM");
    EXPECT_EQ(texts::restartTimeText("None"), "Not Enabled");
    // Anything that is not a whole number of minutes of one day shows as it came.
    for (const char* odd : {"1440", "-10", "+10", " 10", "10 ", "abc", "", "00000", "none", "7.5"})
        EXPECT_EQ(texts::restartTimeText(odd), odd) << odd;
}

TEST(RemoteControlTexts, GameClientArgumentsAndTheHostOfAnEntry) {
    EXPECT_EQ(texts::gameClientArgument("192.0.2.7", ""), "192.0.2.7");
    EXPECT_EQ(texts::gameClientArgument("192.0.2.7", "pw"), "192.0.2.7?Password=pw");
    EXPECT_EQ(texts::gameAlreadyRunningText("192.0.2.7", "pw"),
              "The game is already running.\n\nEither quit the current game and retry the operation or use the "
              "following command from within the console of the game:\n\nstart 192.0.2.7?Password=pw");
    // A password from the host never adds an option of its own to the argument.
    EXPECT_TRUE(texts::isPassableGamePassword("s3cret=!"));
    EXPECT_TRUE(texts::isPassableGamePassword(""));
    EXPECT_FALSE(texts::isPassableGamePassword("pw?AdminName=mallory"));
    EXPECT_FALSE(texts::isPassableGamePassword("pw\n"));
    EXPECT_FALSE(texts::isPassableGamePassword(std::string(257, 'p')));
    EXPECT_EQ(texts::hostOf("192.0.2.7:5100"), "192.0.2.7");
    EXPECT_EQ(texts::hostOf("192.0.2.7"), "192.0.2.7");
    EXPECT_EQ(texts::hostOf("[::1]:5100"), "::1");
    EXPECT_EQ(texts::hostOf("fe80::1"), "fe80::1");
}

TEST(RestartDialog, OffersTheDayInTenMinuteStepsAndSendsNoneOrMinutes) {
    test::guiApp();
    const std::vector<std::string> entries = texts::restartEntries();
    ASSERT_EQ(entries.size(), 145u);
    EXPECT_EQ(entries[0], "Do Not Auto-Restart");
    EXPECT_EQ(entries[1], "12:00 AM");
    EXPECT_EQ(entries[2], "12:10 AM");
    EXPECT_EQ(entries[79], "1:00 PM");
    EXPECT_EQ(entries[144], "11:50 PM");

    // Opened on a value that has no entry: nothing chosen, and "Set" waits for a choice.
    CRemoteServerConfigureAutoRestartDlg dialog("785", {});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Configure Remote Server Automatic Restart"));
    ASSERT_EQ(dialog.times()->count(), 145);
    EXPECT_EQ(dialog.times()->itemText(2), QStringLiteral("12:10 AM"));
    EXPECT_EQ(dialog.times()->currentIndex(), -1);
    EXPECT_FALSE(dialog.button("set")->isEnabled());
    EXPECT_EQ(dialog.chosenValue(), "");

    dialog.times()->setCurrentIndex(2); // 0:10
    ASSERT_TRUE(dialog.button("set")->isEnabled());
    dialog.button("set")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenValue(), "10");
    dialog.times()->setCurrentIndex(0);
    EXPECT_EQ(dialog.chosenValue(), "None");

    // Opened on the current value: its entry is chosen.
    EXPECT_EQ(CRemoteServerConfigureAutoRestartDlg("None", {}).times()->currentIndex(), 0);
    CRemoteServerConfigureAutoRestartDlg afternoon("780", {});
    EXPECT_EQ(afternoon.times()->currentText(), QStringLiteral("1:00 PM"));
    EXPECT_EQ(afternoon.chosenValue(), "780");
    EXPECT_EQ(CRemoteServerConfigureAutoRestartDlg("garbage", {}).times()->currentIndex(), -1);
}

} // namespace
} // namespace kv::manager::ui
