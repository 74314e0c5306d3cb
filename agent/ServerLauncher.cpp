#include "agent/ServerLauncher.h"

#include "agent/AccessLog.h"
#include "agent/AgentLog.h"
#include "manager/core/GameInstallation.h"
#include "agent/LaunchCommand.h"
#include "agent/SupervisionState.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"

#include <sys/stat.h>

namespace kv::agent {

namespace {

bool pathExists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

void appendDebugLine(const std::string& workDir, const std::string& commandLine) {
    appendToFile(joinPath(workDir, "DEBUG.txt"), format("Command Line: %s\n", commandLine.c_str()));
}

} // namespace

ServerLauncher::ServerLauncher(const AgentEnvironment& env, AgentLog& log, AccessLog& access,
                               SupervisionState& state)
    : env_(env), log_(log), access_(access), state_(state) {}

std::string ServerLauncher::gameFolder(const AgentSettings& settings) const {
    std::string folder = settings.gameServerPath;
    if (folder.empty())
        folder = core::findGameInstallation(env_.systemGameSettings, env_.userGameSettings).folder;
    if (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool ServerLauncher::mergeBanList(const std::string& gameServerPath) {
    // Without a configured folder the names would point at the root folder; there is nothing to merge then.
    if (gameServerPath.empty())
        return false;
    std::string system = joinPath(gameServerPath, "System");
    auto bytes = readFile(joinPath(system, "KVSMBanList.txt"));
    if (!bytes)
        return false;
    return writeFileAtomically(joinPath(system, "BanList.txt"), *bytes);
}

LaunchResult ServerLauncher::launch(const AgentSettings& settings, ActiveConfiguration& config) {
    LaunchResult result;
    const std::string folder = gameFolder(settings);
    result.launchTime = env_.clock->nowSeconds();
    mergeBanList(settings.gameServerPath);

    const std::string controlPath = control_file::path(env_.workDir, settings.activeControlFile);
    if (!control_file::read(controlPath, config)) {
        std::string text = format("Invalid configuration, unable to open selected control file \"%s\"",
                                  controlPath.c_str());
        log_.writeText(text + "\n");
        access_.append(text);
        state_.setStatus(ServerStatus::InvalidConfiguration);
        result.outcome = LaunchResult::Outcome::ControlFileUnreadable;
        return result;
    }

    const std::string mapPath = folder + "/Maps/" + config.map;
    if (!pathExists(mapPath)) {
        std::string text = format("Invalid Configuration, map \"%s\" not found", mapPath.c_str());
        log_.writeText(text + "\n");
        access_.append(text);
        state_.setStatus(ServerStatus::InvalidConfiguration);
        result.outcome = LaunchResult::Outcome::MapMissing;
        return result;
    }

    LaunchInputs in;
    in.programPath = folder + "/System/server.bin";
    in.runMode = config.runMode;
    in.map = config.map;
    in.setupName = config.name;
    in.launchTime = toLocalTime(result.launchTime);
    in.iniPath = joinPath(env_.workDir, "Configurations") + "/" + config.ini;
    in.serverIp = settings.serverIp;
    in.honorUserName = settings.honorServerUserName;
    in.honorPassword = settings.honorServerPassword;
    in.honorIp = settings.honorServerIp;
    // A server that cannot be started is reported, not left looking as if it were starting.
    auto unableToStart = [&] {
        std::string text = "Unable to start the game server: " + result.error;
        log_.writeText(text + "\n");
        access_.append(text);
        state_.setStatus(ServerStatus::InvalidConfiguration);
        result.outcome = LaunchResult::Outcome::ProcessFailed;
        return std::move(result);
    };
    std::optional<std::string> commandLine = buildCommandLine(in);
    if (!commandLine) {
        result.error = "a value of the configuration holds a quote or a control character";
        return unableToStart();
    }
    result.commandLine = *commandLine;
    appendDebugLine(env_.workDir, result.commandLine);

    state_.setStatus(ServerStatus::Starting);

    ProcessOptions options;
    options.arguments = commandLineArguments(result.commandLine);
    options.workingDirectory = env_.workDir;
    options.mergeErrorIntoOutput = true;
    // Started on the main thread only, so the death signal is tied to the agent's whole life.
    options.endWithParent = true;
    auto process = std::make_unique<ChildProcess>();
    if (!process->start(options, &result.error))
        return unableToStart();
    result.process = std::move(process);
    result.outcome = LaunchResult::Outcome::Started;
    return result;
}

} // namespace kv::agent
