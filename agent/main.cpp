// kvagent: the agent on a game-server host. With a display it opens its window (from kvagent-ui.so, loaded only
// then); headless (--headless) it runs as a service over the same core.
#include "agent/AdminPassword.h"
#include "agent/Agent.h"
#include "agent/AgentOptions.h"
#include "agent/AgentSettings.h"
#include "agent/HeadlessConsole.h"
#include "agent/InitialPasswordFile.h"
#include "agent/SettingsFile.h"
#include "agent/SignalPipe.h"
#include "agent/WindowModuleLoader.h"
#include "agent/service/AgentRemoteService.h"

#include "common/Clock.h"
#include "common/Files.h"
#include "common/InstallLayout.h"
#include "common/Md5.h"
#include "common/channel/AgentIdentity.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kv;
using namespace kv::agent;

namespace {

std::string currentFolder() {
    std::vector<char> buffer(4096);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr)
        return ".";
    return buffer.data();
}

int setPassword(const std::string& workDir, const std::string& path, AgentSettings settings) {
    std::string password = admin_password::readFrom(std::cin);
    if (std::string problem = admin_password::problemWith(password); !problem.empty()) {
        std::fprintf(stderr, "kvagent: password not changed: %s\n", problem.c_str());
        return 1;
    }
    settings.md5Password = md5Hex(password);
    std::string error;
    if (!settings_file::save(path, settings, &error)) {
        std::fprintf(stderr, "kvagent: %s\n(%s)\n", settings_file::kSaveFailedText, error.c_str());
        return 1;
    }
    std::printf("Password changed for administrator \"%s\" in %s\n", settings.adminName.c_str(), path.c_str());
    // The first start's password no longer logs in; its file would only mislead.
    const std::string initial = joinPath(workDir, initial_password_file::kFileName);
    if (fileExists(initial) && removeFile(initial))
        std::printf("Removed %s, which held the first start's password\n", initial.c_str());
    return 0;
}

// First run without a window: a network service must not come up with a well-known password. The password goes to
// a file that only this user can read, never to standard output, which ends up in journals.
bool createFirstSettings(const std::string& workDir, const std::string& path, AgentSettings& settings) {
    std::string password = admin_password::generate();
    if (password.empty()) {
        std::fprintf(stderr, "kvagent: cannot make a random password: %s\n", std::strerror(errno));
        return false;
    }
    // The file first: settings must never hold a digest whose password is nowhere.
    const std::string passwordPath = joinPath(workDir, initial_password_file::kFileName);
    std::string error;
    if (!initial_password_file::write(passwordPath, password, &error)) {
        std::fprintf(stderr, "kvagent: %s\n", error.c_str());
        return false;
    }
    settings.md5Password = md5Hex(password);
    if (!settings_file::save(path, settings, &error)) {
        std::fprintf(stderr, "kvagent: %s\n(%s)\n", settings_file::kSaveFailedText, error.c_str());
        removeFile(passwordPath);
        return false;
    }
    std::printf("No %s was found; created %s with a new administrator password.\n"
                "Administrator name: %s\n"
                "Administrator password file: %s\n"
                "Read the password there, then delete the file, or set your own with: kvagent --set-password\n",
                settings_file::kFileName, path.c_str(), settings.adminName.c_str(), passwordPath.c_str());
    std::fflush(stdout);
    return true;
}

// The identity in the working folder, made on first use; the problem when it cannot be had.
std::optional<AgentIdentity> loadIdentity(const std::string& workDir, bool* created, std::string* problem) {
    const std::string path = joinPath(workDir, kAgentIdentityFileName);
    std::optional<AgentIdentity> identity = loadOrCreateAgentIdentity(path, "", created, problem);
    if (!identity)
        *problem += ". Restore the file from a backup, or make a new identity with: kvagent --new-identity";
    return identity;
}

int printFingerprint(const std::string& workDir) {
    std::string problem;
    bool created = false;
    std::optional<AgentIdentity> identity = loadIdentity(workDir, &created, &problem);
    if (!identity) {
        std::fprintf(stderr, "kvagent: %s\n", problem.c_str());
        return 1;
    }
    std::printf("%s\n", identity->fingerprint.c_str());
    return 0;
}

int makeNewIdentity(const std::string& workDir) {
    std::string error;
    std::optional<AgentIdentity> identity = makeAgentIdentity("", &error);
    const std::string path = joinPath(workDir, kAgentIdentityFileName);
    if (!identity || !writeAgentIdentity(path, *identity, &error)) {
        std::fprintf(stderr, "kvagent: no new identity: %s\n", error.c_str());
        return 1;
    }
    std::printf("New agent identity in %s\nSHA-256 fingerprint: %s\n"
                "Restart the agent to use it. Clients that trusted the old identity refuse this agent until they\n"
                "trust the new one: kvsm remote trust HOST[:PORT] --fingerprint %s\n",
                path.c_str(), identity->fingerprint.c_str(), identity->fingerprint.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    AgentOptions options = parseAgentOptions(arguments);
    if (!options.error.empty()) {
        std::fprintf(stderr, "kvagent: %s\n%s", options.error.c_str(), agentUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(agentUsage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("KV Server Manager Remote Control Utility Version %s\n", kVersionText);
        return 0;
    }
    if (options.userWorkDir) {
        options.workDir = userWorkFolder();
        if (options.workDir.empty() || !makeDirectories(options.workDir)) {
            std::fprintf(stderr, "kvagent: no per-user working folder%s%s (set HOME or XDG_DATA_HOME)\n",
                         options.workDir.empty() ? "" : " ", options.workDir.c_str());
            return 2;
        }
    }
    if (!options.workDir.empty() && ::chdir(options.workDir.c_str()) != 0) {
        std::fprintf(stderr, "kvagent: cannot use working folder %s: %s\n", options.workDir.c_str(),
                     std::strerror(errno));
        return 2;
    }
    // Command-line values first; every key of the settings file overrides them.
    AgentSettings settings = AgentSettings::defaults();
    settings.serverIp.clear();
    if (options.serverIp)
        settings.serverIp = *options.serverIp;
    if (options.controlFileName)
        settings.activeControlFile = *options.controlFileName;
    const std::string workDir = currentFolder();
    const std::string path = joinPath(workDir, settings_file::kFileName);
    const bool found = settings_file::load(path, settings) == settings_file::LoadResult::Loaded;

    if (options.setPassword)
        return setPassword(workDir, path, settings);
    if (options.fingerprint)
        return printFingerprint(workDir);
    if (options.newIdentity)
        return makeNewIdentity(workDir);

    SystemClock clock;
    AgentEnvironment env;
    env.workDir = workDir;
    env.clock = &clock;
    env.showFailures = options.showFailures;
    if (options.adminPort > 0)
        env.adminPort = options.adminPort;
    if (options.cleanupDelayMs >= 0)
        env.cleanupAfterSend = std::chrono::milliseconds(options.cleanupDelayMs);
    if (options.stopGraceMs >= 0)
        env.stopGrace = std::chrono::milliseconds(options.stopGraceMs);
    bool identityCreated = false;
    env.identity = loadIdentity(workDir, &identityCreated, &env.identityProblem);
    if (!options.headless) {
        const KvAgentWindowStart start{KVAGENT_WINDOW_MODULE_VERSION, &argc, argv, &env, &settings, found ? 1 : 0};
        return runWindowModule(runningProgramFolder(), start);
    }

    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!found && !createFirstSettings(workDir, path, settings))
        return 1;

    QCoreApplication app(argc, argv);

    Agent agent(env, settings);
    HeadlessConsole console(agent);
    SignalPipe signalPipe;
    QObject::connect(&signalPipe, &SignalPipe::terminationRequested, &agent, [&](int) {
        console.print("Shutting down");
        agent.shutDown();
        app.quit();
    });
    console.print(std::string("KV Server Manager Remote Control Utility Version ") + kVersionText + " (headless) in " +
                  workDir);
    if (env.identity)
        console.print(std::string(identityCreated ? "Made a new agent identity" : "Agent identity") +
                      ", SHA-256 fingerprint " + env.identity->fingerprint);
    const auto remoteControl = service::AgentRemoteService::startFor(agent);
    agent.begin();
    int rc = app.exec();
    // A service manager must see that the settings of this run are lost.
    if (!agent.shutDown()) {
        std::fprintf(stderr, "kvagent: %s (see the agent log in %s/Logs)\n", settings_file::kSaveFailedText,
                     workDir.c_str());
        rc = rc != 0 ? rc : 1;
    }
    return rc;
}
