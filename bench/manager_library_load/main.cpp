// Opens the manager's main window on a library of 10,000 setups, offscreen, and compares the time from start to the
// splash closing with `kvsm setup list` over the same folder (the least any program needs to list it). A heartbeat
// timer on the GUI thread measures the longest stall during that load and during a refresh of the tree.
//   bench_manager_library_load [--bin DIR] [--root DIR] [--setups N]

#include "bench/common/BenchLibrary.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "gui/QtPrompter.h"
#include "gui/XdgDesktopServices.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"
#include "manager/ui/CKVServerManagerDlg.h"
#include "manager/ui/SetupBrowser.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

using Steady = std::chrono::steady_clock;

namespace {

double millisecondsSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// `kvsm setup list --workdir FOLDER`, output to /dev/null; the milliseconds taken, or -1 when it failed.
double kvsmListMs(const std::string& kvsm, const std::string& folder) {
    std::vector<std::string> args = {kvsm, "setup", "list", "--workdir", folder};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = Steady::now();
    pid_t pid = -1;
    int status = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    const double ms = millisecondsSince(start);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

// Ticks every few milliseconds on the GUI thread and keeps the longest gap between two ticks.
class Heartbeat {
public:
    Heartbeat() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            const auto now = Steady::now();
            longest_ = std::max(longest_, std::chrono::duration<double, std::milli>(now - last_).count());
            last_ = now;
        });
    }
    void start() {
        longest_ = 0;
        last_ = Steady::now();
        timer_.start();
    }
    double stop() {
        timer_.stop();
        return std::max(longest_, millisecondsSince(last_));
    }

private:
    QTimer timer_;
    Steady::time_point last_;
    double longest_ = 0;
};

struct WindowFigures {
    double loadMs = 0;
    double loadStallMs = 0;
    double refreshStallMs = 0;
};

// Waits for `done` with the event loop running; false after a minute.
template <typename Signal, typename Sender> bool runUntil(Sender* sender, Signal signal) {
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

WindowFigures openWindow(kv::core::ManagerContext& context) {
    kv::gui::QtPrompter prompter;
    kv::gui::XdgDesktopServices desktop;
    kv::manager::ui::MainWindowOptions options;
    options.minimumSplashTime = false; // the designed two-second splash would hide what loading costs
    options.greetOnFirstRun = false;
    WindowFigures figures;
    Heartbeat heartbeat;
    const auto start = Steady::now();
    heartbeat.start();
    kv::manager::ui::CKVServerManagerDlg window(context, prompter, desktop, options);
    window.start();
    if (!runUntil(&window, &kv::manager::ui::CKVServerManagerDlg::libraryShown)) {
        std::fprintf(stderr, "the library was not shown within a minute\n");
        std::exit(1);
    }
    figures.loadMs = millisecondsSince(start);
    figures.loadStallMs = heartbeat.stop();

    heartbeat.start();
    window.browser()->reload();
    if (!runUntil(window.browser(), &kv::manager::ui::SetupBrowser::loaded)) {
        std::fprintf(stderr, "the refresh did not end within a minute\n");
        std::exit(1);
    }
    figures.refreshStallMs = heartbeat.stop();
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    int count = 10000;
    std::string bin = KV_BENCH_BIN_DIR;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--setups")
            count = std::clamp(std::atoi(argv[i + 1]), 1, 100000);
        else if (std::string(argv[i]) == "--bin")
            bin = argv[i + 1];
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    char pattern[] = "/tmp/kvbench-manager-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string root = pattern;
    kv::bench::fillLibrary(kv::setups::SetupStore(root), kv::setups::MapTable::builtIn(), count);

    kv::SystemClock clock;
    kv::core::ManagerContext context;
    context.workingFolder = root;
    context.documentsFolder = kv::joinPath(root, "docs");
    context.settingsFile = kv::joinPath(root, "settings.conf");
    context.clock = &clock;

    // One warm-up of each, then interleaved rounds; the medians are compared.
    const std::string kvsm = kv::joinPath(bin, "kvsm");
    if (kvsmListMs(kvsm, root) < 0) {
        std::fprintf(stderr, "%s setup list failed\n", kvsm.c_str());
        return 1;
    }
    openWindow(context);
    std::vector<double> listTimes, loadTimes, loadStalls, refreshStalls;
    for (int round = 0; round < 3; ++round) {
        listTimes.push_back(kvsmListMs(kvsm, root));
        const WindowFigures figures = openWindow(context);
        loadTimes.push_back(figures.loadMs);
        loadStalls.push_back(figures.loadStallMs);
        refreshStalls.push_back(figures.refreshStallMs);
    }
    const double list = median(listTimes), load = median(loadTimes);
    std::printf("manager library load: %d setups shown in %.0f ms; kvsm setup list of the same folder %.0f ms\n", count,
                load, list);
    std::printf("manager library load ratio (window / kvsm setup list): %.2f (aim: under 1.5)\n", load / list);
    std::printf("longest GUI thread stall: %.0f ms while loading, %.0f ms while refreshing (aim: under 50 ms)\n",
                *std::max_element(loadStalls.begin(), loadStalls.end()),
                *std::max_element(refreshStalls.begin(), refreshStalls.end()));

    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return 0;
}
