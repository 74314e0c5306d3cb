#include "sim/GameScript.h"

#include "common/Format.h"

namespace kv::sim {

std::vector<OutputLine> startupLines(const StartupInfo& info, const MatchState& match) {
    const SimCommandLine& o = info.options;
    std::vector<OutputLine> lines;
    auto out = [&](std::string text) { lines.push_back({false, std::move(text)}); };
    auto err = [&](std::string text) { lines.push_back({true, std::move(text)}); };
    out("Log: Korvane dedicated server 1.0.0 (simulated by kvsim)");
    out("Log: Command line: " + info.commandLine);
    out("Log: Base directory: " + info.systemFolder);
    out("Init: Run mode: " + o.runMode);
    out(o.log.empty() ? "Log: No log file requested" : "Log: Log file: " + o.log);
    for (const auto& warning : info.warnings)
        err("WARNING: " + warning);
    out(info.iniPath.empty() ? "Init: No configuration file given, using defaults"
                             : "Init: Reading configuration " + info.iniPath);
    out("Init: Server name: " + match.ini().hostName);
    if (!o.multiHome.empty())
        out("Init: Multi-home address: " + o.multiHome);
    if (!o.authUserName.empty())
        out("Init: Ranking service account: " + o.authUserName + (o.authPassword.empty() ? "" : " (password given)"));
    if (!o.authAddress.empty())
        out("Init: Ranking service address: " + o.authAddress);
    err("Warning: Sound device not found, audio disabled (dedicated server)");
    out("Init: Loading map " + info.mapPath);
    err("ScriptLog: Anti-cheat component started, configuration System/pb/pbsv.cfg");
    out(format("Net: Admin interface listening on %s:%d", info.listenAddress.c_str(), info.adminPort));
    out(format("Net: Status queries answered on %s:%d (UDP)", info.listenAddress.c_str(), info.queryPort));
    out(format("Init: Max players %d, %d rounds per match", match.ini().maxPlayers, match.ini().roundsPerMatch));
    return lines;
}

std::string readyLine(double secondsSinceStart) {
    return format("Init: Game engine initialized in %.2f seconds", secondsSinceStart);
}

OutputLine periodicLine(std::size_t index, const MatchState& match, double elapsedSeconds) {
    const auto& names = match.playerNames();
    std::string who = names.empty() ? std::string("Spectator1") : names[index / 8 % names.size()];
    int round = match.roundAt(elapsedSeconds);
    switch (index % 8) {
    case 0:
        return {false, "ScriptLog: Player " + who + " joined the game"};
    case 1:
        return {false, format("Net: %zu players connected, average ping %zu ms", names.size(), 40 + index % 50)};
    case 2:
        return {false, "Karma: " + who + " lost 5 karma points for team damage"};
    case 3:
        return {false, format("ScriptLog: %s eliminated an enemy on %s", who.c_str(), match.mapName().c_str())};
    case 4:
        return {true, "WARNING: Ranking service did not answer within 5 seconds, retrying"};
    case 5:
        return {false, format("Log: Round %d/%d in progress", round, match.ini().roundsPerMatch)};
    case 6:
        return {false, "Karma: " + who + " was warned for idling"};
    default:
        return {false, format("ScriptLog: Objective secured by team %zu", index / 8 % 2)};
    }
}

std::string floodLine(int n, int total) {
    return format("Log: Flood line %d of %d, the quick brown fox jumps over the lazy dog", n, total);
}

std::string pacedFloodLine(int n, int total, long long sentMicros) {
    return format("Log: Flood line %d of %d, sent at %lld.%06lld", n, total, sentMicros / 1000000,
                  sentMicros % 1000000);
}

std::string fatalLine(const std::string& reason) { return "Critical: " + reason + " - Exiting due to error"; }

} // namespace kv::sim
