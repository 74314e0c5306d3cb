#include "cli/QueryCommand.h"

#include "cli/OptionParser.h"
#include "common/Text.h"
#include "manager/core/StatusReply.h"
#include "manager/core/StatusSummary.h"

#include <optional>
#include <ostream>

namespace kv::cli {

namespace {

struct Target {
    std::string host;
    int port = core::kStatusQueryPort;
};

std::optional<int> portNumber(std::string_view text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int port = std::stoi(std::string(text));
    return port >= 1 && port <= 65535 ? std::optional<int>(port) : std::nullopt;
}

// HOST, HOST:PORT, [IPV6] or [IPV6]:PORT; an IPv6 address without brackets is a host without a port.
std::optional<Target> parseTarget(const std::string& text) {
    Target target;
    std::string_view rest;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos)
            return std::nullopt;
        target.host = text.substr(1, close - 1);
        rest = std::string_view(text).substr(close + 1);
        if (!rest.empty() && rest.front() != ':')
            return std::nullopt;
    } else if (const std::size_t colon = text.find(':');
               colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
        target.host = text.substr(0, colon);
        rest = std::string_view(text).substr(colon);
    } else {
        target.host = text;
    }
    if (!rest.empty()) {
        std::optional<int> port = portNumber(rest.substr(1));
        if (!port)
            return std::nullopt;
        target.port = *port;
    }
    if (target.host.empty())
        return std::nullopt;
    return target;
}

// A server names its own values; none may move the terminal's cursor or add lines to the output.
std::string printable(std::string_view value) {
    std::string text(value);
    for (char& c : text)
        if (isControlCharacter(c))
            c = '?';
    return text;
}

core::ServerStatus printableCopy(const core::ServerStatus& status) {
    core::ServerStatus::KeyTable keys;
    for (const auto& [key, value] : status.keys())
        keys.emplace(key, printable(value));
    std::vector<core::StatusPlayer> players = status.players();
    for (core::StatusPlayer& player : players)
        for (auto& [key, value] : player.values)
            value = printable(value);
    return core::ServerStatus(std::move(keys), std::move(players));
}

void writeRaw(const core::ServerStatus& status, std::ostream& out) {
    for (const core::StatusKey& key : core::statusKeys())
        if (status.has(key.displayKey))
            out << key.displayKey << '\t' << status.value(key.displayKey) << '\n';
    for (const core::StatusPlayer& player : status.players())
        for (const core::StatusKey& key : core::statusPlayerKeys())
            if (auto found = player.values.find(key.displayKey); found != player.values.end())
                out << "player." << player.number << '.' << key.displayKey << '\t' << found->second << '\n';
}

int usageError(std::ostream& err, const std::string& message) {
    err << "kvsm query: " << message << "\nTry 'kvsm query --help'.\n";
    return 2;
}

} // namespace

const char* queryUsage() {
    return "Usage: kvsm query [--raw] HOST[:PORT]\n"
           "\n"
           "Asks a game server for its status over UDP (the game's query port, 1717 unless PORT is given;\n"
           "an IPv6 address with a port is written [ADDRESS]:PORT) and waits up to 10 seconds.\n"
           "Without --raw: the status summary as the manager shows it (CR LF line ends).\n"
           "With --raw: one KEY<TAB>VALUE line per value the server sent, server keys first, then\n"
           "player.N.KEY<TAB>VALUE for each player N. Control characters in values print as '?'.\n"
           "\n"
           "Exit status: 0 answered, 1 no answer (\"Not Available\"; the reason on standard error),\n"
           "2 wrong usage.\n";
}

int runQueryCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    core::StatusQueryTiming timing) {
    OptionParser options;
    options.flag("raw").flag("help");
    if (!options.parse(arguments))
        return usageError(err, options.error());
    if (options.has("help") || (arguments.size() == 1 && (arguments[0] == "-h" || arguments[0] == "help"))) {
        out << queryUsage();
        return 0;
    }
    if (options.positionals().size() != 1)
        return usageError(err, "needs exactly one HOST[:PORT].");
    const std::optional<Target> target = parseTarget(options.positionals()[0]);
    if (!target)
        return usageError(err, "\"" + options.positionals()[0] + "\" is no HOST[:PORT].");

    core::StatusQueryResult result = core::StatusQuery(timing).run(target->host, target->port);
    if (!result.answered) {
        out << core::kStatusNotAvailable << '\n';
        err << "kvsm query: " << target->host << " port " << target->port << ": " << result.error << '\n';
        return 1;
    }
    const core::ServerStatus status = printableCopy(result.status);
    if (options.has("raw"))
        writeRaw(status, out);
    else
        out << core::statusSummary(status);
    return 0;
}

} // namespace kv::cli
