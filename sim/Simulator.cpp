#include "sim/Simulator.h"

#include "common/Files.h"
#include "common/Format.h"
#include "sim/AdminPort.h"
#include "sim/GameIni.h"
#include "sim/GameScript.h"
#include "sim/MatchState.h"
#include "sim/OutputWriter.h"
#include "sim/QueryPort.h"
#include "sim/SimCommandLine.h"

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <unistd.h>

namespace kv::sim {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Simulator::Runtime {
    StartupInfo startup;
    std::optional<MatchState> match;
    AdminPort admin;
    QueryPort query;
    Clock::time_point started = Clock::now();
};

namespace {

std::string absolute(const std::string& path, const std::string& base) {
    return path.empty() || path[0] == '/' ? path : joinPath(base, path);
}

std::string realFolder(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

// The folder of the running program as it was called (server.bin may be a link to kvsim: the link's folder counts).
std::string programFolder(const std::string& program, const std::string& current) {
    if (program.find('/') != std::string::npos)
        return realFolder(std::string(dirName(absolute(program, current))));
    char self[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return current;
    return std::string(dirName(std::string(self, static_cast<std::size_t>(n))));
}

std::string baseNameWithoutExtension(const std::string& path) {
    std::string name(baseName(path));
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

const char* kUsage =
    "Usage: server.bin RUNMODE MAP [log=\"NAME.log\"] [ini=\"FILE.ini\"] [MULTIHOME=ADDRESS]\n"
    "                  [ServerAuthUsername=NAME] [ServerAuthPassword=PASSWORD] [ServerAuthIP=ADDRESS]\n"
    "RUNMODE is GLOBAL, LAN, TOURNAMENT or LANTOURNAMENT; MAP is a file in the game's Maps folder.\n"
    "Simulator settings (KVSIM_...) come from the environment or kvsim.conf in the game folder;\n"
    "see docs/simulator.md.\n";

} // namespace

Simulator::Simulator(SimEnvironment environment) : env_(std::move(environment)) {}

Simulator::~Simulator() = default;

bool Simulator::finishOutput(milliseconds timeout) {
    if (writer_ && !writer_->finish(timeout)) {
        drained_ = false;
        // The writer thread is stuck in a write and still uses the object: it must outlive us.
        (void)writer_.release();
    }
    return drained_;
}

int Simulator::fail(const std::string& reason) {
    writer_->line(fatalLine(reason), true);
    finishOutput(milliseconds(2000));
    return 1;
}

int Simulator::run() {
    parent_ = ::getppid();
    writer_ = std::make_unique<OutputWriter>(env_.outFd, env_.errFd);
    Runtime rt;
    if (env_.arguments.size() > 1 &&
        parseSimCommandLine({env_.arguments.begin() + 1, env_.arguments.end()}).help) {
        writer_->raw(kUsage);
        finishOutput(milliseconds(2000));
        return 0;
    }
    if (!prepare(rt))
        return fail(rt.startup.warnings.empty() ? "cannot start" : rt.startup.warnings.back());
    return loop(rt);
}

// Checks everything the server needs before it can run; on failure the reason is the last warning.
bool Simulator::prepare(Runtime& rt) {
    StartupInfo& info = rt.startup;
    const std::string program = env_.arguments.empty() ? std::string("server.bin") : env_.arguments[0];
    std::vector<std::string> arguments(env_.arguments.begin() + (env_.arguments.empty() ? 0 : 1),
                                       env_.arguments.end());
    for (const auto& a : arguments)
        info.commandLine += (info.commandLine.empty() ? "" : " ") + a;
    info.options = parseSimCommandLine(arguments);
    info.systemFolder = programFolder(program, env_.currentFolder);
    std::string gameFolder = env_.gameFolder.empty() ? std::string(dirName(info.systemFolder)) : env_.gameFolder;

    KeyValues knobs;
    if (auto conf = readFile(joinPath(gameFolder, "kvsim.conf")))
        knobs = parseKnobFile(*conf);
    knobs.insert(knobs.end(), env_.environmentKnobs.begin(), env_.environmentKnobs.end());
    applyKnobs(settings_, knobs, info.warnings);
    info.warnings.insert(info.warnings.end(), info.options.warnings.begin(), info.options.warnings.end());

    if (!info.options.error.empty()) {
        info.warnings.push_back(info.options.error);
        return false;
    }
    info.mapPath = joinPath(joinPath(gameFolder, "Maps"), info.options.map);
    if (!fileExists(info.mapPath) && !directoryExists(info.mapPath)) {
        info.warnings.push_back("map \"" + info.mapPath + "\" not found");
        return false;
    }
    GameIni ini;
    if (!info.options.ini.empty()) {
        info.iniPath = absolute(info.options.ini, env_.currentFolder);
        auto text = fileExists(info.iniPath) ? readFile(info.iniPath) : std::nullopt;
        if (!text) {
            info.warnings.push_back("configuration file \"" + info.iniPath + "\" cannot be read");
            return false;
        }
        ini = parseGameIni(*text);
    }
    rt.match.emplace(ini, baseNameWithoutExtension(info.options.map), settings_.players, settings_.roundSeconds);

    info.listenAddress = info.options.multiHome.empty() ? settings_.bindAddress : info.options.multiHome;
    info.adminPort = settings_.adminPort;
    info.queryPort = settings_.queryPort;
    std::string error;
    if (!rt.admin.open(info.listenAddress, settings_.adminPort, error)) {
        info.warnings.push_back(format("cannot open the admin port %s:%d: %s", info.listenAddress.c_str(),
                                       settings_.adminPort, error.c_str()));
        return false;
    }
    if (!rt.query.open(info.listenAddress, settings_.queryPort, error)) {
        info.warnings.push_back(format("cannot open the query port %s:%d: %s", info.listenAddress.c_str(),
                                       settings_.queryPort, error.c_str()));
        return false;
    }
    return true;
}

int Simulator::loop(Runtime& rt) {
    OutputWriter& out = *writer_;
    for (const auto& line : startupLines(rt.startup, *rt.match))
        out.line(line.text, line.toError);

    const auto start = rt.started;
    const auto readyAt = start + milliseconds(settings_.startDelayMs);
    std::optional<Clock::time_point> crashAt;
    if (settings_.crashAfterSeconds > 0)
        crashAt = start + milliseconds(static_cast<long long>(settings_.crashAfterSeconds * 1000));
    std::optional<Clock::time_point> ready;
    std::optional<Clock::time_point> stopAt;
    Clock::time_point nextLine;
    std::size_t lineIndex = 0;
    auto elapsed = [&](Clock::time_point now) {
        return ready ? std::chrono::duration<double>(now - *ready).count() : 0.0;
    };
    auto beginStop = [&](const std::string& why) {
        if (stopAt)
            return;
        out.line("Exit: " + why);
        out.line("Exit: Shutting down, saving statistics");
        stopAt = Clock::now() + milliseconds(settings_.shutdownDelayMs);
    };

    for (;;) {
        auto now = Clock::now();
        if (crashAt && now >= *crashAt) {
            out.line("Critical: Unhandled exception: access violation reading address 0x00000000 (simulated crash)",
                     true);
            finishOutput(milliseconds(1000));
            return settings_.crashExitCode;
        }
        if (stopAt && now >= *stopAt) {
            out.line("Exit: Server stopped");
            rt.admin.close();
            finishOutput(milliseconds(3000));
            return 0;
        }
        if (!ready && now >= readyAt) {
            ready = now;
            out.line(readyLine(std::chrono::duration<double>(now - start).count()));
            if (settings_.floodLines > 0)
                out.flood(settings_.floodLines, settings_.floodRate);
            if (settings_.longLine)
                out.raw(std::string("Log: ") + std::string(static_cast<std::size_t>(
                                                               std::max(0, settings_.longLineLength - 5)), 'x'));
            nextLine = now + milliseconds(settings_.lineIntervalMs);
        }
        if (ready && !stopAt && settings_.floodLines == 0 && settings_.lineIntervalMs > 0 && now >= nextLine) {
            OutputLine line = periodicLine(lineIndex++, *rt.match, elapsed(now));
            out.line(line.text, line.toError);
            nextLine = now + milliseconds(settings_.lineIntervalMs);
        }
        if (settings_.exitWithParent && ::getppid() != parent_)
            beginStop("Parent process ended");

        // Sleep until the next event, but at most 200 ms so that the parent check stays prompt.
        auto wake = now + milliseconds(200);
        for (auto t : {std::optional(readyAt), crashAt, stopAt,
                       ready && settings_.lineIntervalMs > 0 ? std::optional(nextLine) : std::nullopt})
            if (t && *t > now)
                wake = std::min(wake, *t);
        std::vector<pollfd> fds;
        if (env_.signalFd >= 0)
            fds.push_back({env_.signalFd, POLLIN, 0});
        fds.push_back({rt.query.fd(), POLLIN, 0});
        std::size_t adminFrom = fds.size();
        rt.admin.addPollFds(fds);
        int timeout = static_cast<int>(std::chrono::duration_cast<milliseconds>(wake - now).count()) + 1;
        if (::poll(fds.data(), fds.size(), timeout) <= 0)
            continue;

        if (env_.signalFd >= 0 && fds[0].revents != 0) {
            unsigned char signal = 0;
            while (::read(env_.signalFd, &signal, 1) == 1) {
                if (signal == SIGTERM && settings_.ignoreSigterm)
                    out.line("Exit: SIGTERM ignored");
                else
                    beginStop(format("Received signal %d", signal));
            }
        }
        rt.query.process(ready && !stopAt, [&] { return rt.match->snapshot(elapsed(Clock::now())); });
        for (const auto& event : rt.admin.process(fds.data() + adminFrom, fds.size() - adminFrom)) {
            if (!event.note.empty()) {
                out.line("Admin: " + event.note + " (" + event.peer + ")");
            } else if (event.command == "SHUTDOWN") {
                if (settings_.ignoreShutdown) {
                    out.line("Admin: SHUTDOWN received from " + event.peer + ", ignored");
                } else {
                    out.line("Admin: SHUTDOWN received from " + event.peer);
                    beginStop("Shutdown requested through the admin port");
                }
            } else {
                out.line("Admin: Unknown command \"" + printableCommand(event.command) + "\" from " + event.peer);
            }
        }
    }
}

} // namespace kv::sim
