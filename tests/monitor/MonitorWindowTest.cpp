// The output monitor window as a user drives it: painting and colours, scrolling, the buttons and closing.
#include "monitor/CMonitorServerOutputWnd.h"
#include "monitor/MonitorStyle.h"

#include "tests/monitor/MonitorTestSources.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakePrompter.h"

#include "common/Clock.h"
#include "common/Files.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace kv;
using namespace kv::monitor;
using kv::test::CountingStore;
using kv::test::FakeControl;
using kv::test::FakePrompter;

namespace {

class FixedClock final : public Clock {
public:
    std::int64_t nowSeconds() const override { return 1173258303; } // 7 March 2007 09:05:03 UTC
};

class MonitorWindow : public ::testing::Test {
protected:
    void SetUp() override { test::guiApp(); }

    std::unique_ptr<CMonitorServerOutputWnd> open(MonitorSource& source, MonitorControl* control,
                                                  MonitorOptions options = MonitorOptions::forAgent("Duel")) {
        options.clock = &clock;
        auto window = std::make_unique<CMonitorServerOutputWnd>(source, control, options, prompter);
        window->resize(490, 290);
        window->show();
        window->refresh(true);
        return window;
    }

    void fill(CountingStore& source, std::size_t count, const std::string& prefix = "line ") {
        std::vector<MonitorLine> lines;
        for (std::size_t i = 0; i < count; ++i)
            lines.push_back({1173258303, prefix + std::to_string(i), 1234});
        source.store().assign(std::move(lines));
    }

    // The brightest pixel in the band of painted line `row`.
    static QColor brightestIn(const QImage& image, const CMonitorServerOutputWnd& window, int row) {
        QColor best(0, 0, 0);
        const int top = row * window.lineHeight();
        for (int y = top; y < top + window.lineHeight(); ++y)
            for (int x = 0; x < window.outputArea().width(); ++x) {
                QColor c = image.pixelColor(x, y);
                if (c.red() + c.green() + c.blue() > best.red() + best.green() + best.blue())
                    best = c;
            }
        return best;
    }

    FixedClock clock;
    FakePrompter prompter;
};

TEST_F(MonitorWindow, LineColoursFollowTheTextFirstMatchWins) {
    EXPECT_EQ(monitor_style::lineColour("Init: Game engine initialized"), QColor(0, 255, 0));
    EXPECT_EQ(monitor_style::lineColour("Karma: player 3 up"), QColor(255, 255, 0));
    EXPECT_EQ(monitor_style::lineColour("WARNING: low memory"), QColor(255, 0, 0));
    EXPECT_EQ(monitor_style::lineColour("Karma ALERT"), QColor(255, 0, 0));
    EXPECT_EQ(monitor_style::lineColour("Exiting due to error 3"), QColor(255, 0, 0));
    EXPECT_EQ(monitor_style::lineColour("warning in lower case"), QColor(250, 245, 199));
    EXPECT_TRUE(monitor_style::endsServer("Fatal: Exiting due to error"));
    EXPECT_FALSE(monitor_style::endsServer("exiting due to error"));
}

TEST_F(MonitorWindow, PaintsEachLineInItsColour) {
    CountingStore source;
    source.store().assign({{1, "WARNING WARNING WARNING WARNING WARNING WARNING", 0},
                           {1, "Karma Karma Karma Karma Karma Karma Karma Karma Karma", 0},
                           {1, "Game engine initialized Game engine initialized", 0},
                           {1, "Plain text Plain text Plain text Plain text Plain text", 0}});
    auto window = open(source, nullptr);
    const QImage image = window->grab().toImage();
    ASSERT_GT(window->lineHeight(), 0);
    const QColor red = brightestIn(image, *window, 0);
    const QColor yellow = brightestIn(image, *window, 1);
    const QColor green = brightestIn(image, *window, 2);
    const QColor cream = brightestIn(image, *window, 3);
    EXPECT_GT(red.red(), 200);
    EXPECT_LT(red.green(), 60);
    EXPECT_GT(yellow.red(), 200);
    EXPECT_GT(yellow.green(), 200);
    EXPECT_LT(yellow.blue(), 60);
    EXPECT_GT(green.green(), 200);
    EXPECT_LT(green.red(), 60);
    EXPECT_GT(cream.blue(), 150);
    EXPECT_GT(cream.red(), 200);
    // Nothing below the last line, and the strip at the bottom is not black.
    EXPECT_EQ(brightestIn(image, *window, 5), QColor(0, 0, 0));
    EXPECT_NE(image.pixelColor(5, window->height() - 3), QColor(0, 0, 0));
    // The scroll bar stands beside the output area, not over it.
    EXPECT_EQ(window->scrollBar()->geometry().left(), window->outputArea().right() + 1);
    EXPECT_NE(image.pixelColor(window->width() - 4, 40), QColor(0, 0, 0));
}

TEST_F(MonitorWindow, MemoryColumnShowsTimeAndFigure) {
    const MonitorLine line{1173258303, "Init: ready", 5120};
    const std::string shown = monitor_style::displayText(line, true);
    EXPECT_NE(shown.find(" (5120K) Init: ready"), std::string::npos) << shown;
    EXPECT_NE(shown.find(" at "), std::string::npos);
    EXPECT_EQ(shown.rfind("3/7/2007 at ", 0) == 0 || shown.rfind("3/6/2007 at ", 0) == 0 ||
                  shown.rfind("3/8/2007 at ", 0) == 0,
              true)
        << shown;
    EXPECT_EQ(monitor_style::displayText(line, false), "Init: ready");
}

TEST_F(MonitorWindow, PaintsOnlyTheVisibleLinesAndFollowsTheEnd) {
    CountingStore source;
    fill(source, 204000);
    auto window = open(source, nullptr);
    const int v = window->visibleLines();
    ASSERT_GT(v, 5);
    EXPECT_EQ(window->firstVisibleLine(), 204000u - v - 1);
    EXPECT_EQ(window->scrollBar()->maximum(), 204000 - v);
    source.largestRequest = 0;
    (void)window->grab();
    EXPECT_GT(source.largestRequest, 0u);
    EXPECT_LE(source.largestRequest, static_cast<std::size_t>(v + 2));
    EXPECT_EQ(source.lastFirst, 204000u - v - 1);

    // New output while scrolled up still brings the end into view.
    window->lineUp();
    window->lineUp();
    EXPECT_EQ(window->firstVisibleLine(), 204000u - v - 3);
    source.store().append({5, "newest", 0});
    QCoreApplication::processEvents();
    source.announce(true);
    EXPECT_EQ(window->firstVisibleLine(), 204001u - v - 1);
}

TEST_F(MonitorWindow, ScrollsByLineAndByPageOnlyWhereTheModeAllowsIt) {
    CountingStore source;
    fill(source, 100);
    auto window = open(source, nullptr);
    const std::size_t v = static_cast<std::size_t>(window->visibleLines());
    const std::size_t last = 100 - v - 1;
    window->lineDown(); // already at the end
    EXPECT_EQ(window->firstVisibleLine(), last);
    window->pageUp(); // the agent's window ignores page steps
    EXPECT_EQ(window->firstVisibleLine(), last);
    window->scrollBar()->setValue(0);
    EXPECT_EQ(window->firstVisibleLine(), 0u);
    window->lineUp();
    EXPECT_EQ(window->firstVisibleLine(), 0u);
    window->lineDown();
    EXPECT_EQ(window->firstVisibleLine(), 1u);

    CountingStore managerSource;
    fill(managerSource, 100);
    auto local = open(managerSource, nullptr, MonitorOptions::forLocalRun("Duel"));
    local->scrollBar()->setValue(0);
    local->pageDown();
    EXPECT_EQ(local->firstVisibleLine(), v);
    local->pageUp();
    EXPECT_EQ(local->firstVisibleLine(), 0u);
    local->scrollBar()->setValue(static_cast<int>(last - 1));
    local->pageDown(); // not a whole page left: to the end
    EXPECT_EQ(local->firstVisibleLine(), last);
}

TEST_F(MonitorWindow, ButtonRowSitsAtTheBottom) {
    CountingStore source;
    FakeControl control;
    auto window = open(source, &control);
    const int top = window->height() - 25;
    EXPECT_EQ(window->stopButton()->geometry(), QRect(10, top, 90, 20));
    EXPECT_EQ(window->clearButton()->geometry(), QRect(120, top, 100, 20));
    EXPECT_EQ(window->saveButton()->geometry(), QRect(240, top, 100, 20));
    EXPECT_EQ(window->helpButton()->geometry(), QRect(360, top, 75, 20));
    EXPECT_EQ(window->outputArea().height(), window->height() - 30);

    auto remote = open(source, nullptr, MonitorOptions::forRemoteFeed("Duel"));
    EXPECT_EQ(remote->stopButton(), nullptr);
    EXPECT_EQ(remote->clearButton()->geometry().x(), 10);
}

TEST_F(MonitorWindow, ClearAsksFirst) {
    CountingStore source;
    fill(source, 30);
    auto window = open(source, nullptr);
    prompter.answers = {false};
    window->clearButton()->click();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text, QStringLiteral("Are you sure you want to clear the monitor log window?"));
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Clear Monitor Log"));
    EXPECT_EQ(source.lineCount(), 30u);
    prompter.answers = {true};
    window->clearButton()->click();
    EXPECT_EQ(source.lineCount(), 0u);
    EXPECT_EQ(window->firstVisibleLine(), 0u);
    EXPECT_EQ(window->scrollBar()->maximum(), 0);
}

TEST_F(MonitorWindow, SavesEveryLineWithCrLf) {
    test::TempDir dir;
    CountingStore source(true);
    source.store().assign({{1173258303, "first", 10}, {1173258304, "WARNING second", 20}});
    auto window = open(source, nullptr);
    prompter.saveAnswer = QString::fromStdString(dir.file("saved")); // no extension: the dialog adds .LOG
    window->saveButton()->click();
    EXPECT_EQ(prompter.saveSuffix, QStringLiteral("LOG")); // before its overwrite question, not after it
    EXPECT_TRUE(prompter.proposedSavePath.startsWith(QStringLiteral("Duel Server Log File at ")));
    EXPECT_TRUE(prompter.proposedSavePath.endsWith(QStringLiteral(".log")));
    const std::string text = readFile(dir.file("saved.LOG")).value_or("");
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find(" (10K) - first\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" (20K) - WARNING second\r\n"), std::string::npos);
    EXPECT_LT(text.find("first"), text.find("second"));
    EXPECT_TRUE(prompter.errors.empty());

    // The manager's windows save the stored texts as they stand, with the saved logs' CR LF.
    auto local = open(source, nullptr, MonitorOptions::forLocalRun("Duel"));
    prompter.saveAnswer = QString::fromStdString(dir.file("plain.txt"));
    local->saveButton()->click();
    EXPECT_EQ(readFile(dir.file("plain.txt")).value_or(""), "first\r\nWARNING second\r\n");

    // A folder that does not exist: the message, and the lines stay.
    prompter.saveAnswer = QString::fromStdString(dir.file("missing/folder/x.log"));
    window->saveButton()->click();
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Unable To Create Log File"));
    EXPECT_EQ(source.lineCount(), 2u);

    // Cancelled: nothing written.
    prompter.saveAnswer.clear();
    window->saveButton()->click();
    EXPECT_EQ(prompter.errors.size(), 1u);
}

TEST_F(MonitorWindow, SaveKeepsEveryLineThatWasThereWhenTheListIsTrimmedMeanwhile) {
    test::TempDir dir;
    test::TrimmingStore source(5000, 500);
    auto window = open(source, nullptr, MonitorOptions::forLocalRun("Duel"));
    std::string expected;
    for (const MonitorLine& line : source.current())
        expected += line.text + "\r\n";
    ASSERT_EQ(source.lineCount(), 5000u);
    prompter.saveAnswer = QString::fromStdString(dir.file("saved.log"));
    window->saveButton()->click();
    const std::string saved = readFile(dir.file("saved.log")).value_or("");
    const auto differ = std::mismatch(saved.begin(), saved.end(), expected.begin(), expected.end()).second;
    EXPECT_TRUE(saved == expected) << "the file differs from line " << std::count(expected.begin(), differ, '\n')
                                   << " of " << source.lineCount();
    EXPECT_TRUE(prompter.errors.empty());
}

TEST_F(MonitorWindow, StopServerAsksAndExitingDueToErrorDisablesIt) {
    CountingStore source;
    FakeControl control;
    fill(source, 3);
    auto window = open(source, &control);
    EXPECT_TRUE(window->stopButton()->isEnabled());
    prompter.answers = {false};
    window->stopButton()->click();
    EXPECT_EQ(control.stops, 0);
    EXPECT_EQ(prompter.questions.back().text, QStringLiteral("Are you sure you want to stop the Korvane server?"));
    EXPECT_EQ(prompter.questions.back().caption, QStringLiteral("Stop Server"));
    prompter.answers = {true};
    window->stopButton()->click();
    EXPECT_EQ(control.stops, 1);
    EXPECT_EQ(window->stopButton()->text(), QStringLiteral("Stopping Server"));
    EXPECT_FALSE(window->stopButton()->isEnabled());

    FakeControl second;
    CountingStore failing;
    failing.store().assign({{1, "Fatal: Exiting due to error", 0}});
    auto other = open(failing, &second);
    EXPECT_TRUE(other->stopButton()->isEnabled());
    (void)other->grab(); // the line is painted
    EXPECT_FALSE(other->stopButton()->isEnabled());
}

TEST_F(MonitorWindow, ClosingAsksWhileTheServerCanBeStopped) {
    CountingStore source;
    FakeControl control;
    auto window = open(source, &control);
    window->show();
    prompter.answers = {false};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(control.closes, 0);
    EXPECT_EQ(prompter.questions.back().caption, QStringLiteral("Stop Server and Close Monitor"));
    prompter.answers = {true};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(control.closes, 1);
    window.reset();
    EXPECT_EQ(control.closes, 1); // told once

    // Closed by the program (restart, crash): no question.
    FakeControl quiet;
    auto restarted = open(source, &quiet);
    restarted->show();
    const std::size_t asked = prompter.questions.size();
    restarted->closeWithoutAsking();
    EXPECT_EQ(prompter.questions.size(), asked);
    EXPECT_EQ(quiet.closes, 1);

    // A remote feed's window never asks.
    auto remote = open(source, nullptr, MonitorOptions::forRemoteFeed("Duel"));
    remote->show();
    EXPECT_TRUE(remote->close());
    EXPECT_EQ(prompter.questions.size(), asked);
}

TEST_F(MonitorWindow, LinesFromAnotherThreadAreAnnouncedOnTheWindowsThread) {
    MonitorLineStore store;
    auto window = open(store, nullptr, MonitorOptions::forRemoteFeed("Duel"));
    int announcements = 0;
    QObject::connect(&store, &MonitorSource::linesChanged, window.get(), [&](bool) { ++announcements; });
    std::thread feeder([&] {
        for (int i = 0; i < 500; ++i)
            store.appendText(1173258303, "1/1/2007-0:00:00 - line " + std::to_string(i));
    });
    feeder.join();
    EXPECT_EQ(announcements, 0); // nothing touched the window from the feeding thread
    QCoreApplication::processEvents();
    EXPECT_GE(announcements, 1);
    EXPECT_LT(announcements, 500); // a burst is announced once, not per line
    EXPECT_EQ(window->firstVisibleLine(), 500u - window->visibleLines() - 1);
}

TEST_F(MonitorWindow, HugeLinesInAFullListPaintOnlyWhatShows) {
    test::SyntheticSource source(204000, 16000);
    auto window = open(source, nullptr);
    source.requested = 0;
    const QImage image = window->grab().toImage();
    EXPECT_GT(source.requested, 0u);
    EXPECT_LE(source.requested, static_cast<std::size_t>(window->visibleLines() + 2));
    EXPECT_NE(brightestIn(image, *window, 0), QColor(0, 0, 0));
}

} // namespace
