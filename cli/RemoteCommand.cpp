#include "cli/RemoteCommand.h"

#include "cli/OptionParser.h"
#include "cli/RemoteOperations.h"
#include "cli/RemotePassword.h"
#include "client/RemoteControlLibrary.h"
#include "common/Files.h"

#include <cstdlib>
#include <map>
#include <ostream>
#include <unistd.h>

namespace kv::cli {

namespace {

int usageError(std::ostream& err, const std::string& message) {
    err << "kvsm remote: " << message << "\nTry 'kvsm remote --help'.\n";
    return 2;
}

std::string fromOptionOrEnvironment(const OptionParser& options, const char* option, const char* variable) {
    if (auto value = options.get(option))
        return *value;
    const char* fromEnvironment = std::getenv(variable);
    return fromEnvironment ? fromEnvironment : "";
}

std::string absolute(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return path;
    char cwd[4096];
    return ::getcwd(cwd, sizeof cwd) ? joinPath(cwd, path) : path;
}

} // namespace

const char* remoteUsage() {
    return "Usage: kvsm remote <command> [arguments] --host ADDRESS[:PORT] --user NAME [options]\n"
           "\n"
           "Talks to the agent (kvagent) on a game-server host over its encrypted remote control port\n"
           "(49310 unless ADDRESS:PORT names another).\n"
           "\n"
           "Commands:\n"
           "  status                         the game server's state, setup, map, up time and memory\n"
           "  start | stop                   start or stop the game server\n"
           "  feed                           follow the game server's output until the connection ends\n"
           "  setups                         the configurations on the host (name, map, run mode, time)\n"
           "  upload-config INI NAME --run-mode MODE --map MAP [--description-file FILE]\n"
           "                [--game-admin-password TEXT] [--game-player-password TEXT]\n"
           "                                 store a configuration with its game configuration file\n"
           "  upload-setup NAME FILE         store a server setup file on the host\n"
           "  download-setup NAME            fetch a setup into \"Server Setups/NAME.ServerConfig\"\n"
           "  activate NAME                  make a configuration the active one (restarts the server)\n"
           "  remove NAME                    remove a configuration\n"
           "  get-restart                    the daily restart time\n"
           "  set-restart none|MINUTES|HH:MM set or switch off the daily restart\n"
           "  download-bans FILE             fetch the ban list into FILE\n"
           "  upload-bans FILE               replace the host's ban list with FILE\n"
           "  pb-files                       the anti-cheat option files (name, size, time)\n"
           "  pb-get NAME                    fetch option file NAME into \"ADDRESS-NAME.cfg\"\n"
           "  pb-put NAME                    send \"ADDRESS-NAME.cfg\" as option file NAME\n"
           "  screenshots | pb-logs          the anti-cheat screenshots or logs (name, size, time)\n"
           "  get-screenshot NAME            fetch a screenshot into \"PBScreenshots/NAME\"\n"
           "  get-pb-log NAME                fetch an anti-cheat log into \"PBLogs/NAME\"\n"
           "\n"
           "Options:\n"
           "  --host ADDRESS[:PORT]   the agent's host (or the variable KVSM_HOST)\n"
           "  --user NAME             the administrator name (or the variable KVSM_USER)\n"
           "  --password-file FILE    read the password from the first line of FILE; without it the variable\n"
           "                          KVSM_PASSWORD is used, else it is asked for on the terminal\n"
           "  --dir FOLDER            folder for fetched and sent files (default: the current folder)\n"
           "  --library FILE          the remote control library (default: beside kvsm, or KVSM_REMOTE_LIBRARY)\n"
           "  --verbose               show the progress texts on standard error\n"
           "\n"
           "Exit status: 0 done, 1 failed (the reason on standard error), 2 wrong usage.\n";
}

int runRemoteCommand(const std::vector<std::string>& arguments, const std::string& programFolder, std::ostream& out,
                     std::ostream& err) {
    OptionParser options;
    for (const char* name : {"host", "user", "password-file", "dir", "library", "run-mode", "map", "description-file",
                             "game-admin-password", "game-player-password"})
        options.value(name);
    options.flag("verbose").flag("help");
    if (!options.parse(arguments))
        return usageError(err, options.error());
    const std::vector<std::string>& words = options.positionals();
    if (options.has("help") || (!words.empty() && (words[0] == "help" || words[0] == "-h"))) {
        out << remoteUsage();
        return 0;
    }
    if (words.empty())
        return usageError(err, "no command given.");
    RemoteRequest request;
    request.command = words[0];
    request.arguments.assign(words.begin() + 1, words.end());
    if (!isRemoteCommand(request.command))
        return usageError(err, "unknown command \"" + request.command + "\".");
    if (std::string problem = checkRemoteArguments(request, options); !problem.empty())
        return usageError(err, problem);

    std::string host = fromOptionOrEnvironment(options, "host", "KVSM_HOST");
    std::string user = fromOptionOrEnvironment(options, "user", "KVSM_USER");
    if (host.empty())
        return usageError(err, "no host: give --host ADDRESS[:PORT] or set KVSM_HOST.");
    if (user.empty())
        return usageError(err, "no administrator name: give --user NAME or set KVSM_USER.");

    RemoteControlLibrary library;
    std::string libraryPath = fromOptionOrEnvironment(options, "library", "KVSM_REMOTE_LIBRARY");
    if (libraryPath.empty())
        libraryPath = joinPath(programFolder, KVSM_REMOTE_CONTROL_LIBRARY);
    if (!library.load(libraryPath)) {
        err << "kvsm remote: " << library.error() << ".\n";
        return 1;
    }
    std::string problem;
    std::optional<std::string> password =
        readRemotePassword(options.get("password-file"), "Password for " + user + "@" + host + ": ", problem);
    if (!password) {
        err << "kvsm remote: " << problem << ".\n";
        return 1;
    }
    // Paths the user named are taken from where kvsm was started, before moving to the file folder.
    request.resolve(absolute);
    if (auto folder = options.get("dir")) {
        if (!makeDirectories(*folder) || ::chdir(folder->c_str()) != 0) {
            err << "kvsm remote: the folder " << *folder << " cannot be used.\n";
            return 1;
        }
    }
    request.host = host;
    request.verbose = options.has("verbose");
    return runRemoteOperation(library, request, user, *password, out, err);
}

} // namespace kv::cli
