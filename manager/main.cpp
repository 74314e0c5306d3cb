// kvmanager: the KV Server Manager desktop program.
#include "manager/ui/CKVServerManagerDlg.h"

#include "manager/core/GameInstallation.h"
#include "manager/core/ManagerContext.h"
#include "manager/core/ManagerFolders.h"
#include "manager/core/ManagerSettings.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/remote/RemoteRunner.h"
#include "manager/setups/ShippedData.h"

#include "common/Clock.h"
#include "common/Files.h"
#include "common/InstallLayout.h"
#include "gui/QtPrompter.h"
#include "gui/SlotGuard.h"
#include "gui/XdgDesktopServices.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kUsage =
    "Usage: kvmanager [--workdir DIR]\n"
    "\n"
    "Keeps a library of Korvane server setups, makes the game server's files from them, runs them on this computer\n"
    "and sends them by e-mail.\n"
    "\n"
    "Options:\n"
    "  --workdir DIR      the manager's working folder (created when missing; default:\n"
    "                     ~/.local/share/KV Server Manager). It holds \"Server Setups\" and the data files.\n"
    "  --version          print the version and exit\n"
    "  --help             print this help and exit\n"
    "\n"
    "Testing options:\n"
    "  --screenshot FILE  once the setup library is shown, save a picture of the main window to FILE (PNG) and\n"
    "                     exit; the first-run greeting is left out. Exit status 0 when the picture was saved.\n"
    "  --stop-grace-ms MS how long a server run on this computer gets to end after SIGTERM before it is killed\n"
    "                     (default 5000).\n";

struct Arguments {
    std::string workdir;
    std::string screenshot;
    int stopGraceMs = -1;
    bool help = false;
    bool version = false;
    std::string error;
};

Arguments parse(int argc, char** argv) {
    Arguments a;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                a.error = arg + " needs a value";
            else
                out = argv[++i];
        };
        auto milliseconds = [&](int& out) {
            std::string text;
            value(text);
            char* end = nullptr;
            const long n = std::strtol(text.c_str(), &end, 10);
            if (a.error.empty() && (end == text.c_str() || *end != '\0' || n < 0 || n > 600000))
                a.error = arg + " needs a number of milliseconds (0 to 600000)";
            out = static_cast<int>(n);
        };
        if (arg == "--help" || arg == "-h")
            a.help = true;
        else if (arg == "--version")
            a.version = true;
        else if (arg == "--workdir")
            value(a.workdir);
        else if (arg == "--screenshot")
            value(a.screenshot);
        else if (arg == "--stop-grace-ms")
            milliseconds(a.stopGraceMs);
        else
            a.error = "unknown option " + arg;
        if (!a.error.empty())
            break;
    }
    return a;
}

int run(int argc, char** argv) {
    const Arguments args = parse(argc, argv);
    if (!args.error.empty()) {
        std::fprintf(stderr, "kvmanager: %s\n\n%s", args.error.c_str(), kUsage);
        return 2;
    }
    if (args.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.version) {
        std::printf("kvmanager %s\n", KV_MANAGER_VERSION);
        return 0;
    }

    // Without a display Qt would abort with a core dump; say what to do instead.
    auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "kvmanager: no display (neither DISPLAY nor WAYLAND_DISPLAY is set). Run it on your "
                             "desktop, or use kvsm for the setup library from a terminal.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KV Server Manager"));
    // The menu entry's name, so that a Wayland desktop shows its icon for the windows.
    QApplication::setDesktopFileName(QStringLiteral("org.kvservermanager.Manager"));
    QApplication::setApplicationVersion(QStringLiteral(KV_MANAGER_VERSION));
    // The tray icon keeps the manager alive while its window is hidden; the window says when to end.
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string programFolder = kv::runningProgramFolder();

    // The working folder becomes the current folder before anything else: the client library writes relative to it.
    const std::string workdir = args.workdir.empty() ? kv::core::defaultWorkingFolder() : args.workdir;
    if (!kv::makeDirectories(workdir) || ::chdir(workdir.c_str()) != 0) {
        std::fprintf(stderr, "kvmanager: the working folder %s cannot be used: %s\n", workdir.c_str(),
                     std::strerror(errno));
        return 1;
    }
    char* current = ::getcwd(nullptr, 0);
    const std::string workingFolder = current ? current : workdir;
    std::free(current);
    const std::string dataFolder = kv::core::shippedDataFolder(programFolder);
    if (dataFolder.empty())
        std::fprintf(stderr, "kvmanager: the shipped data files were not found; set KV_DATA_DIR\n");
    kv::setups::prepareWorkingFolder(workingFolder, dataFolder);

    const kv::SystemClock clock;
    kv::core::ManagerContext context;
    context.workingFolder = workingFolder;
    context.documentsFolder = kv::core::documentsFolder();
    context.settingsFile = kv::core::managerSettingsFile();
    context.helpFolder = kv::core::helpFolder(programFolder);
    context.installation = kv::core::findGameInstallation();
    context.settings = kv::core::readManagerSettings(context.settingsFile, context.installation);
    context.clock = &clock;

    // Bound before the main window is built, from the program's folder only. The trust file is the one kvsm uses.
    const char* trustFile = std::getenv("KVSM_TRUST_FILE");
    const kv::remote::RemoteBinding binding = kv::remote::RemoteBinding::bind(
        kv::remote::RemoteBinding::candidatePaths(programFolder), trustFile ? trustFile : "");
    context.remoteLibrary = binding.library();

    kv::gui::QtPrompter prompter;
    if (!binding.available()) {
        std::fprintf(stderr, "kvmanager: remote support is off: %s\n", binding.detail().c_str());
        if (args.screenshot.empty())
            prompter.showError(nullptr,
                               QStringLiteral("Warning - the DLL \"%1\" could not be found.  Remote support will not "
                                              "be available (Error %2).")
                                   .arg(QString::fromStdString(binding.path()))
                                   .arg(binding.errorCode()),
                               QStringLiteral("Remote Support DLL Unavailable"));
    }
    kv::gui::XdgDesktopServices desktop;
    kv::manager::ui::MainWindowOptions options;
    options.greetOnFirstRun = args.screenshot.empty();
    if (args.stopGraceMs >= 0)
        options.localRun.stopGrace = std::chrono::milliseconds(args.stopGraceMs);
    kv::manager::ui::CKVServerManagerDlg window(context, prompter, desktop, options);
    QObject::connect(&window, &kv::manager::ui::CKVServerManagerDlg::quitRequested, &app,
                     kv::gui::guarded([] { QCoreApplication::quit(); }));

    int screenshotStatus = 1;
    if (!args.screenshot.empty()) {
        const QString file = QString::fromLocal8Bit(args.screenshot.c_str());
        QObject::connect(&window, &kv::manager::ui::CKVServerManagerDlg::libraryShown, &window,
                         kv::gui::guarded([&window, &screenshotStatus, file] {
                             // Let the window paint once more without the splash before the picture is taken.
                             QTimer::singleShot(500, &window, kv::gui::guarded([&window, &screenshotStatus, file] {
                                                    QScreen* screen = window.screen();
                                                    const QPixmap picture =
                                                        screen ? screen->grabWindow(window.winId()) : QPixmap();
                                                    const bool saved = !picture.isNull() && picture.save(file, "PNG");
                                                    if (!saved)
                                                        std::fprintf(stderr, "kvmanager: the screenshot could not "
                                                                             "be saved\n");
                                                    screenshotStatus = saved ? 0 : 1;
                                                    QCoreApplication::quit();
                                                }));
                         }));
        QTimer::singleShot(120000, &app, [] {
            std::fprintf(stderr, "kvmanager: the setup library was not shown in time\n");
            QCoreApplication::exit(1);
        });
    }
    window.start();
    const int status = app.exec();
    // Windows closed on the way out (remote control windows, their monitors) are deleted now, so that their feeds
    // are stopped and released before the program ends.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Remote calls still under way end by their own time-outs; give them a moment, never an unbounded wait.
    kv::remote::RemoteRunner::waitForWorkers(std::chrono::seconds(2));
    return args.screenshot.empty() ? status : (status != 0 ? status : screenshotStatus);
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kvmanager: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "kvmanager: an unexpected error ended the program\n");
    }
    return 1;
}
