#include "cli/RemoteCommand.h"

#include "cli/AgentTrustDialog.h"
#include "cli/OptionParser.h"
#include "cli/RemoteOperations.h"
#include "cli/RemotePassword.h"
#include "cli/RemoteTrust.h"
#include "client/RemoteControlLibrary.h"
#include "client/TrustStore.h"
#include "common/Files.h"
#include "common/InstallLayout.h"
#include "common/channel/Fingerprint.h"

#include <cstdlib>
#include <map>
#include <ostream>
#include <unistd.h>
#include <vector>

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

bool loadLibrary(RemoteControlLibrary& library, const OptionParser& options, const std::string& programFolder,
                 std::ostream& err) {
    // A path given by the administrator is taken relative to the current folder, as a shell user expects; a bare
    // name would otherwise make dlopen search the system's folders.
    std::string libraryPath = absolute(fromOptionOrEnvironment(options, "library", "KVSM_REMOTE_LIBRARY"));
    if (libraryPath.empty()) {
        const std::vector<std::string> candidates = companionCandidates(programFolder, KVSM_REMOTE_CONTROL_LIBRARY);
        libraryPath = firstExistingFile(candidates);
        if (libraryPath.empty()) {
            err << "kvsm remote: the remote control library " << KVSM_REMOTE_CONTROL_LIBRARY
                << " is neither beside kvsm nor in its installed library folder"
                << (candidates.empty() ? std::string() : " (" + candidates.back() + ")")
                << "; name it with --library FILE.\n";
            return false;
        }
    }
    if (library.load(libraryPath))
        return true;
    err << "kvsm remote: " << library.error() << ".\n";
    return false;
}

// "trust", "forget" and "known": no administrator, no password, and the library only to contact the agent.
int runTrustCommand(const std::vector<std::string>& words, const OptionParser& options, const std::string& trustFile,
                    const std::string& programFolder, std::ostream& out, std::ostream& err) {
    const std::string& command = words[0];
    const std::size_t wanted = command == "known" ? 1 : 2;
    if (words.size() != wanted)
        return usageError(err, command + (wanted == 1 ? " takes no argument." : " takes HOST[:PORT]."));
    if (wanted == 2 && !trustedAgent(words[1]))
        return usageError(err, command + " takes HOST[:PORT]: a host name without blanks, control characters or '#', "
                                         "and a port from 1 to 65535.");
    if (options.has("fingerprint") && command != "trust")
        return usageError(err, "--fingerprint goes with trust only.");
    if (command == "known")
        return listKnownAgents(trustFile, out, err);
    if (command == "forget")
        return forgetAgent(words[1], trustFile, out, err);
    std::optional<std::string> fingerprint = options.get("fingerprint");
    if (fingerprint) {
        fingerprint = canonicalFingerprint(*fingerprint);
        if (fingerprint->empty())
            return usageError(err, "--fingerprint takes a SHA-256 fingerprint: 32 hexadecimal byte pairs, as "
                                   "`kvagent --fingerprint` prints it.");
    }
    RemoteControlLibrary library;
    if (!loadLibrary(library, options, programFolder, err))
        return 1;
    library.setTrustFile(trustFile.c_str(), KVSM_TRUST_ON_FIRST_USE); // a check records nothing either way
    return trustAgent(library, words[1], fingerprint, trustFile, out, err);
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
           "  bans                           the host's ban list (type, value, end date or Permanent, player)\n"
           "  ban NAME|IP|MAC VALUE [--until YYYY-MM-DD] [--player NAME]\n"
           "                                 add a ban (permanent unless --until; a NAME ban keeps the name as\n"
           "                                 the player's) and send the list back; nothing is sent when the\n"
           "                                 list holds it already\n"
           "  unban NAME|IP|MAC VALUE        remove every entry of that type and value (any case) and send the\n"
           "                                 list back; fails when none matched\n"
           "                                 (ban lists are kept as \"BanFileADDRESS.txt\", \"_PORT\" added for\n"
           "                                 another port, the earlier copy moved to \".old\"; every list sent\n"
           "                                 adds its new lines to \"MasterBanList.txt\")\n"
           "  pb-files                       the anti-cheat option files (name, size, time)\n"
           "  pb-get NAME                    fetch option file NAME into \"ADDRESS-NAME.cfg\" (\":\" as \"_\")\n"
           "  pb-put NAME                    send \"ADDRESS-NAME.cfg\" as option file NAME\n"
           "  screenshots | pb-logs          the anti-cheat screenshots or logs (name, size, time)\n"
           "  get-screenshot NAME            fetch a screenshot into \"PBScreenshots/NAME\"\n"
           "  get-pb-log NAME                fetch an anti-cheat log into \"PBLogs/NAME\"\n"
           "\n"
           "Agent identities (no --user, no password):\n"
           "  trust HOST[:PORT] [--fingerprint SHA256]\n"
           "                                 contact the agent and trust the identity it presents: the one given\n"
           "                                 (as `kvagent --fingerprint` prints it on that host), else after a\n"
           "                                 question on the terminal\n"
           "  forget HOST[:PORT]             remove the agent from the trust file\n"
           "  known                          the trusted agents: HOST:PORT, SHA-256 fingerprint, date recorded\n"
           "\n"
           "Every command checks the agent's identity (the SHA-256 fingerprint of its certificate) against the\n"
           "trust file before anything is sent. A new agent is trusted on first contact and recorded, after a\n"
           "question when standard input is a terminal; an agent whose identity changed is refused.\n"
           "\n"
           "Options:\n"
           "  --host ADDRESS[:PORT]   the agent's host (or the variable KVSM_HOST)\n"
           "  --user NAME             the administrator name (or the variable KVSM_USER)\n"
           "  --password-file FILE    read the password from the first line of FILE; without it the variable\n"
           "                          KVSM_PASSWORD is used, else it is asked for on the terminal\n"
           "  --dir FOLDER            folder for fetched and sent files (default: the current folder)\n"
           "  --library FILE          the remote control library (or the variable KVSM_REMOTE_LIBRARY; default:\n"
           "                          beside kvsm, else in ../lib/kv-server-manager from kvsm's folder)\n"
           "  --trust-file FILE       the trust file (or the variable KVSM_TRUST_FILE; default:\n"
           "                          $XDG_DATA_HOME/KV Server Manager/known_agents, else below ~/.local/share)\n"
           "  --known-only            refuse an agent that the trust file does not know instead of trusting it\n"
           "  --verbose               show the progress texts on standard error\n"
           "\n"
           "Exit status: 0 done, 1 failed (the reason on standard error), 2 wrong usage.\n";
}

int runRemoteCommand(const std::vector<std::string>& arguments, const std::string& programFolder, std::ostream& out,
                     std::ostream& err) {
    OptionParser options;
    for (const char* name :
         {"host", "user", "password-file", "dir", "library", "run-mode", "map", "description-file",
          "game-admin-password", "game-player-password", "trust-file", "fingerprint", "until", "player"})
        options.value(name);
    options.flag("verbose").flag("help").flag("known-only");
    if (!options.parse(arguments))
        return usageError(err, options.error());
    const std::vector<std::string>& words = options.positionals();
    if (options.has("help") || (!words.empty() && (words[0] == "help" || words[0] == "-h"))) {
        out << remoteUsage();
        return 0;
    }
    if (words.empty())
        return usageError(err, "no command given.");
    // Named from where kvsm was started, before --dir moves it elsewhere.
    std::string trustFile = absolute(fromOptionOrEnvironment(options, "trust-file", "KVSM_TRUST_FILE"));
    if (trustFile.empty())
        trustFile = TrustStore::defaultPath();
    if (trustFile.empty()) {
        err << "kvsm remote: no trust file: give --trust-file FILE or set KVSM_TRUST_FILE, XDG_DATA_HOME or HOME.\n";
        return 1;
    }
    if (words[0] == "trust" || words[0] == "forget" || words[0] == "known")
        return runTrustCommand(words, options, trustFile, programFolder, out, err);
    if (options.has("fingerprint"))
        return usageError(err, "--fingerprint goes with trust only.");
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
    if (!loadLibrary(library, options, programFolder, err))
        return 1;
    const bool knownOnly = options.has("known-only");
    if (!library.setTrustFile(trustFile.c_str(), knownOnly ? KVSM_TRUST_KNOWN_ONLY : KVSM_TRUST_ON_FIRST_USE)) {
        err << "kvsm remote: the remote control library does not take the trust file " << trustFile << ".\n";
        return 1;
    }
    if (!knownOnly)
        if (int status = confirmFirstContact(library, host, trustFile, err, err); status != 0)
            return status;
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
    request.trustFile = trustFile;
    request.verbose = options.has("verbose");
    return runRemoteOperation(library, request, user, *password, out, err);
}

} // namespace kv::cli
