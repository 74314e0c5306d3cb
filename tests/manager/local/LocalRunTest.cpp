#include "manager/local/LocalRun.h"
#include "manager/local/LocalRunPlan.h"

#include "common/Files.h"
#include "common/OutputLineSplitter.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/ShippedData.h"

#include "tests/support/FreePort.h"
#include "tests/support/ManualClock.h"
#include "tests/support/SimGame.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <thread>
#include <unistd.h>

using namespace kv;
using namespace kv::manager::local;
using namespace std::chrono_literals;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_manager_local";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

bool pump(const std::function<bool()>& done, std::chrono::milliseconds bound = 20s) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!done() && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(2ms);
    }
    return done();
}

std::vector<std::string> texts(const LocalRun& run) {
    std::vector<std::string> out;
    for (LocalLine& line : run.lines().lines(0, SIZE_MAX))
        out.push_back(std::move(line.text));
    return out;
}

// Index of the first stored line that contains `needle`, or -1.
long indexOf(const LocalRun& run, std::string_view needle) {
    const std::vector<std::string> all = texts(run);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].find(needle) != std::string::npos)
            return static_cast<long>(i);
    return -1;
}

long countOf(const LocalRun& run, std::string_view needle) {
    const std::vector<std::string> all = texts(run);
    return std::count_if(all.begin(), all.end(), [&](const std::string& t) { return t.find(needle) != t.npos; });
}

class LocalRunTest : public ::testing::Test {
protected:
    LocalRunTest() : game(dir.file("my game"), KV_BIN_DIR "/kvsim") {
        app();
        options.stopGrace = 300ms;
        options.exitWatch = 50ms;
    }

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(game.create(&error)) << error;
    }

    void knobs(std::vector<std::pair<std::string, std::string>> extra = {}) {
        std::vector<std::pair<std::string, std::string>> all = {
            {"KVSIM_ADMIN_PORT", std::to_string(test::freeTcpPort())},
            {"KVSIM_QUERY_PORT", std::to_string(test::freeUdpPort())},
            {"KVSIM_START_DELAY_MS", "0"},
            {"KVSIM_LINE_INTERVAL_MS", "30"}};
        all.insert(all.end(), extra.begin(), extra.end());
        ASSERT_TRUE(game.writeSettings(all));
    }

    std::unique_ptr<LocalRun> start(std::vector<std::pair<std::string, std::string>> extra = {}) {
        knobs(std::move(extra));
        std::string error;
        auto run = LocalRun::start({"Duel", {game.serverProgram(), "GLOBAL", "Harbor.kvo"}, game.systemFolder()},
                                   options, &error);
        EXPECT_NE(run, nullptr) << error;
        return run;
    }

    test::TempDir dir;
    test::SimGame game;
    LocalRunOptions options;
};

} // namespace

TEST(LocalRunParts, SplitLinesCutAtTheLimitAndGoOn) {
    OutputLineSplitter splitter(OutputLineSplitter::LongLines::Split);
    std::vector<std::string_view> views;
    std::vector<std::string> lines;
    auto feed = [&](const std::string& bytes) {
        views.clear();
        splitter.split(bytes, views);
        lines.insert(lines.end(), views.begin(), views.end());
    };
    feed("abc\r\n\tde");
    feed("f\n" + std::string(16383, 'x'));
    feed("\nnext\n" + std::string(16383 * 2, 'y') + "tail\n");
    const std::vector<std::string> expected = {"abc",
                                               "def",
                                               std::string(16383, 'x'), // the line feed right after it ends nothing
                                               "next",
                                               std::string(16383, 'y'),
                                               std::string(16383, 'y'),
                                               "tail"};
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(splitter.ended());
}

TEST(LocalRunParts, LinesAreBoundedLikeTheAgentsList) {
    LocalRunLines lines(1); // 102 lines, 1,024 bytes
    for (int i = 0; i < 103; ++i)
        lines.append({i, "x"});
    EXPECT_EQ(lines.size(), 103u);
    lines.append({103, "y"}); // 103 > 102: the 500 oldest (here all) go first
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.lines(0, 1)[0].text, "y");
    for (int i = 0; i < 10; ++i)
        lines.append({i, std::string(100, 'z')});
    EXPECT_EQ(lines.size(), 11u);
    lines.append({11, std::string(100, 'w')}); // would pass 1,024 bytes
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_LE(lines.textBytes(), 1024u);
}

TEST_F(LocalRunTest, RunsTheGeneratedCommandInTheSystemFolderAndStampsEveryLine) {
    core::ManagerContext context;
    context.workingFolder = dir.file("work");
    setups::prepareWorkingFolder(context.workingFolder, KV_TEST_DATA_DIR);
    context.documentsFolder = dir.file("My Documents");
    context.settings.serverLocation = game.systemFolder();
    context.settings.authServerUserName = "ranker";
    const std::string setupFile = dir.write("work/Server Setups/Duel.ServerConfig",
                                            "m_csName=Duel\r\nm_csMapName=Harbor\r\nm_csMapFile=Harbor.kvo\r\n");
    const LocalRunPlan plan = LocalRunPlan::make(context, setups::MapTable::builtIn(), setupFile);
    ASSERT_TRUE(plan.ok) << plan.message;
    const std::string ini = dir.file("My Documents/Korvane Server Setups/Duel.ini");
    EXPECT_TRUE(fileExists(ini));
    const std::vector<std::string> expected = {game.serverProgram(), "GLOBAL",     "Harbor.kvo",
                                               "log=Harbor.log",     "ini=" + ini, "ServerAuthUsername=ranker"};
    EXPECT_EQ(plan.request.arguments, expected);
    EXPECT_EQ(plan.request.folder, game.systemFolder());

    knobs();
    test::ManualClock clock;
    clock.seconds = test::localMoment(2007, 3, 7, 9, 5) + 3;
    options.clock = &clock;
    std::string error;
    auto run = LocalRun::start(plan.request, options, &error);
    ASSERT_NE(run, nullptr) << error;
    EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(run->pid()) + "/cwd").string(),
              game.systemFolder());
    ASSERT_TRUE(pump([&] { return indexOf(*run, "Game engine initialized") >= 0; }));
    // kvsim prints the arguments it got, joined by blanks.
    EXPECT_GE(indexOf(*run, "3/7/2007-9:05:03 - Log: Command line: GLOBAL Harbor.kvo log=Harbor.log ini=" + ini +
                                " ServerAuthUsername=ranker"),
              0);
    for (const std::string& text : texts(*run))
        EXPECT_EQ(text.rfind("3/7/2007-9:05:03 - ", 0), 0u) << text;
}

TEST_F(LocalRunTest, AServerThatEndsByItselfGetsOneCrashAlert) {
    auto run = start({{"KVSIM_CRASH_AFTER", "0.3"}});
    ASSERT_TRUE(run);
    ASSERT_TRUE(pump([&] { return run->hasEnded(); }));
    EXPECT_EQ(countOf(*run, "ALERT"), 1);
    EXPECT_GT(indexOf(*run, " - ALERT - Server Stopped By Crash Or Task Manager"), indexOf(*run, "simulated crash"));
    EXPECT_FALSE(run->canStop());
    const std::size_t before = run->lines().size();
    run->stop(); // nothing left to stop
    pump([] { return false; }, 200ms);
    EXPECT_EQ(run->lines().size(), before);
    EXPECT_EQ(countOf(*run, "Stopped By User"), 0);
}

TEST_F(LocalRunTest, StopSendsSigtermAndKillsAServerThatIgnoresIt) {
    auto polite = start();
    ASSERT_TRUE(polite);
    ASSERT_TRUE(pump([&] { return indexOf(*polite, "Game engine initialized") >= 0; }));
    polite->stop();
    EXPECT_EQ(std::string(polite->stopButtonText()), "Stopping Server");
    ASSERT_TRUE(pump([&] { return polite->hasEnded(); }));
    EXPECT_GE(indexOf(*polite, "Exit: Received signal 15"), 0);
    EXPECT_GT(indexOf(*polite, " - ALERT - Server Stopped By User"), indexOf(*polite, "Exit: Server stopped"));
    EXPECT_EQ(countOf(*polite, "ALERT"), 1);

    auto stubborn = start({{"KVSIM_IGNORE_SIGTERM", "1"}});
    ASSERT_TRUE(stubborn);
    ASSERT_TRUE(pump([&] { return indexOf(*stubborn, "Game engine initialized") >= 0; }));
    const pid_t pid = stubborn->pid();
    const auto begin = std::chrono::steady_clock::now();
    stubborn->stop();
    ASSERT_TRUE(pump([&] { return stubborn->hasEnded(); }));
    EXPECT_GE(std::chrono::steady_clock::now() - begin, options.stopGrace);
    EXPECT_GE(indexOf(*stubborn, "SIGTERM ignored"), 0);
    EXPECT_EQ(countOf(*stubborn, "ALERT - Server Stopped By User"), 1);
    stubborn.reset();
    EXPECT_NE(::kill(pid, 0), 0); // killed and reaped
}

TEST_F(LocalRunTest, AnOverlongLineIsCutAndCaptureGoesOn) {
    auto run = start({{"KVSIM_LONG_LINE", "1"}});
    ASSERT_TRUE(run);
    const std::string cut = "Log: " + std::string(16378, 'x');
    ASSERT_TRUE(pump([&] { return indexOf(*run, cut) >= 0; }));
    const long at = indexOf(*run, cut);
    const std::size_t stamp = texts(*run)[static_cast<std::size_t>(at)].find(" - ") + 3;
    EXPECT_EQ(texts(*run)[static_cast<std::size_t>(at)].size(), stamp + 16383);
    ASSERT_TRUE(pump([&] { return run->lines().size() > static_cast<std::size_t>(at) + 3; }));
    EXPECT_TRUE(run->canStop());
}

TEST_F(LocalRunTest, AMissingOrUnrunnableProgramIsReported) {
    std::string error;
    EXPECT_EQ(LocalRun::start({"Duel", {game.systemFolder() + "/nothing.bin", "GLOBAL"}, game.systemFolder()}, options,
                              &error),
              nullptr);
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    const std::string plain = dir.write("plain.bin", "not a program\n");
    EXPECT_EQ(LocalRun::start({"Duel", {plain}, game.systemFolder()}, options, &error), nullptr);
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
}
