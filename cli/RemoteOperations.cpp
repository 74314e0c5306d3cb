#include "cli/RemoteOperations.h"

#include "cli/AgentTrustDialog.h"
#include "cli/CliStatus.h"
#include "cli/OptionParser.h"
#include "cli/RemoteFeed.h"
#include "client/RemoteControlLibrary.h"
#include "common/DecimalNumber.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"
#include "common/Text.h"
#include "common/protocol/ListRecords.h"
#include "common/protocol/OptionFileCopy.h"

#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>

namespace kv::cli {

namespace {

struct CommandShape {
    std::size_t arguments;
    std::vector<std::size_t> files; // which arguments are local files
};

const std::map<std::string, CommandShape>& commands() {
    static const std::map<std::string, CommandShape> table = {
        {"status", {0, {}}},
        {"start", {0, {}}},
        {"stop", {0, {}}},
        {"feed", {0, {}}},
        {"setups", {0, {}}},
        {"upload-config", {2, {0}}},
        {"upload-setup", {2, {1}}},
        {"download-setup", {1, {}}},
        {"activate", {1, {}}},
        {"remove", {1, {}}},
        {"get-restart", {0, {}}},
        {"set-restart", {1, {}}},
        {"download-bans", {1, {0}}},
        {"upload-bans", {1, {0}}},
        {"pb-files", {0, {}}},
        {"pb-get", {1, {}}},
        {"pb-put", {1, {}}},
        {"screenshots", {0, {}}},
        {"pb-logs", {0, {}}},
        {"get-screenshot", {1, {}}},
        {"get-pb-log", {1, {}}},
        {"bans", {0, {}}},
        {"ban", {2, {}}},
        {"unban", {2, {}}},
    };
    return table;
}

// "none", minutes after midnight, or HH:MM; empty when it is none of them.
std::string restartTimeFrom(const std::string& text) {
    if (equalsNoCase(text, "none"))
        return "None";
    auto digits = [](std::string_view part) {
        return !part.empty() && part.size() <= 4 && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    std::size_t colon = text.find(':');
    int minutes = -1;
    if (colon == std::string::npos && digits(text)) {
        minutes = parseDecimalInt(text);
    } else if (colon != std::string::npos && digits(std::string_view(text).substr(0, colon)) &&
               text.size() - colon == 3 && digits(std::string_view(text).substr(colon + 1))) {
        int hour = parseDecimalInt(text.substr(0, colon));
        int minute = parseDecimalInt(text.substr(colon + 1));
        if (hour < 24 && minute < 60)
            minutes = hour * 60 + minute;
    }
    return minutes >= 0 && minutes < 24 * 60 ? std::to_string(minutes) : std::string();
}

std::string localTimeText(std::int64_t seconds) {
    LocalTime t = toLocalTime(seconds);
    return format("%d/%d/%d %d:%2.2d:%2.2d", t.month, t.day, t.year, t.hour, t.minute, t.second);
}

void printFileList(const KvsmTextList& records, std::ostream& out) {
    for (const std::string& line : records) {
        if (auto record = protocol::parseFileRecord(line))
            out << record->name << '\t' << record->size << '\t' << localTimeText(record->lastWrite) << '\n';
        else
            out << line << '\n';
    }
}

int status(RemoteControlLibrary& lib, KvsmRemoteObject* object, std::ostream& out) {
    std::string setup, state, map, description, admin, player;
    std::uint32_t upTime = 0;
    int crashes = 0;
    std::int32_t ram = 0, peak = 0;
    if (!lib.getServerStatus(object, &setup, &state, &map, &description, &admin, &player, &upTime, &crashes, &ram,
                             &peak))
        return 0;
    out << "Status: " << state << "\nSetup: " << setup << "\nMap: " << map << "\nUp time: " << upTime / 60 << "h "
        << upTime % 60 << "m\nCrashes: " << (crashes < 0 ? std::string("not counted") : std::to_string(crashes))
        << "\nMemory: " << ram << " KiB (peak " << peak << " KiB)\nGame admin password: " << admin
        << "\nGame player password: " << player << "\nDescription:\n";
    for (std::string_view rest = description; !rest.empty();) {
        std::size_t end = rest.find('\n');
        out << "  " << rest.substr(0, end) << '\n';
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return 1;
}

int perform(RemoteControlLibrary& lib, KvsmRemoteObject* object, const RemoteRequest& r, std::ostream& out,
            std::ostream& err, IdentityCheck& feedIdentity) {
    const std::string& c = r.command;
    const std::vector<std::string>& a = r.arguments;
    auto arg = [&](std::size_t i) { return a.at(i).c_str(); };
    if (c == "status")
        return status(lib, object, out);
    if (c == "start")
        return lib.startServer(object);
    if (c == "stop")
        return lib.stopServer(object);
    if (c == "feed")
        return followFeed(lib, object, out, err, feedIdentity);
    if (c == "setups" || c == "pb-files" || c == "screenshots" || c == "pb-logs") {
        KvsmTextList records;
        int ok = c == "setups"     ? lib.retrieveServerSetupList(object, &records)
                 : c == "pb-files" ? lib.retrievePunkbusterConfigFileList(object, &records)
                                   : lib.retrievePunkbusterScreenshotFileList(object, &records, c == "pb-logs");
        if (!ok)
            return 0;
        if (c != "setups") {
            printFileList(records, out);
            return 1;
        }
        for (const std::string& line : records) {
            auto record = protocol::parseConfigurationRecord(line);
            if (record)
                out << record->name << '\t' << record->map << '\t' << record->runMode << '\t'
                    << localTimeText(record->lastWrite) << '\n';
            else
                out << line << '\n';
        }
        return 1;
    }
    if (c == "upload-config") {
        std::string description;
        if (!r.descriptionFile.empty()) {
            auto text = readFile(r.descriptionFile);
            if (!text) {
                err << "kvsm remote: the description file " << r.descriptionFile << " cannot be read.\n";
                return 0;
            }
            description = std::string(chompLineBreak(*text));
        }
        return lib.uploadConfiguration(object, arg(0), arg(1), r.runMode.c_str(), r.map.c_str(), description.c_str(),
                                       r.gameAdminPassword.c_str(), r.gamePlayerPassword.c_str());
    }
    if (c == "upload-setup")
        return lib.uploadServerSetup(object, arg(0), arg(1));
    if (c == "download-setup") {
        if (!lib.downloadServerSetup(object, arg(0)))
            return 0;
        out << joinPath("Server Setups", a[0] + ".ServerConfig") << '\n';
        return 1;
    }
    if (c == "activate")
        return lib.activateConfiguration(object, arg(0));
    if (c == "remove")
        return lib.deleteConfiguration(object, arg(0));
    if (c == "get-restart") {
        std::string time;
        if (!lib.getRestartTime(object, &time))
            return 0;
        if (time == "None") {
            out << "None\n";
        } else {
            int minutes = parseDecimalInt(time);
            out << format("%2.2d:%2.2d", minutes / 60, minutes % 60) << '\n';
        }
        return 1;
    }
    if (c == "set-restart")
        return lib.setRestartTime(object, r.restartTime.c_str());
    if (c == "download-bans")
        return lib.downloadBanList(object, arg(0));
    if (c == "upload-bans")
        return lib.uploadBanList(object, arg(0));
    if (c == "bans")
        return listBans(lib, object, r, out, err);
    if (c == "ban" || c == "unban")
        return changeBans(lib, object, r, out, err);
    if (c == "pb-get" || c == "pb-put") {
        int ok = c == "pb-get" ? lib.downloadPBConfig(object, arg(0)) : lib.uploadPBConfig(object, arg(0));
        if (ok)
            out << protocol::optionFileCopyName(r.host, a[0] + ".cfg") << '\n';
        return ok;
    }
    if (c == "get-screenshot" || c == "get-pb-log") {
        bool logs = c == "get-pb-log";
        if (!lib.retrievePunkbusterScreenshotFile(object, arg(0), logs ? 1 : 0))
            return 0;
        out << joinPath(logs ? "PBLogs" : "PBScreenshots", a[0]) << '\n';
        return 1;
    }
    return 0;
}

} // namespace

void RemoteRequest::resolve(const std::function<std::string(const std::string&)>& absolute) {
    auto shape = commands().find(command);
    if (shape != commands().end())
        for (std::size_t index : shape->second.files)
            if (index < arguments.size())
                arguments[index] = absolute(arguments[index]);
    if (!descriptionFile.empty())
        descriptionFile = absolute(descriptionFile);
}

bool isRemoteCommand(const std::string& command) {
    return commands().count(command) > 0;
}

std::string checkRemoteArguments(RemoteRequest& request, const OptionParser& options) {
    const CommandShape& shape = commands().at(request.command);
    if (request.arguments.size() != shape.arguments)
        return request.command + " takes " + std::to_string(shape.arguments) + " argument(s).";
    for (const std::string& argument : request.arguments)
        if (argument.empty())
            return request.command + ": an argument is empty.";
    if (request.command == "set-restart") {
        request.restartTime = restartTimeFrom(request.arguments[0]);
        if (request.restartTime.empty())
            return "set-restart takes none, minutes after midnight (0-1439) or HH:MM.";
    }
    const std::optional<std::string> until = options.get("until"), player = options.get("player");
    if (request.command == "ban" || request.command == "unban")
        return checkBanArguments(request.command, request.arguments[0], request.arguments[1], until ? &*until : nullptr,
                                 player ? &*player : nullptr, request.ban);
    if (until || player)
        return "--until and --player go with ban only.";
    if (request.command == "upload-config") {
        request.runMode = options.get("run-mode", "");
        request.map = options.get("map", "");
        request.descriptionFile = options.get("description-file", "");
        request.gameAdminPassword = options.get("game-admin-password", "");
        request.gamePlayerPassword = options.get("game-player-password", "");
        bool known = false;
        for (const char* mode : {"GLOBAL", "LAN", "TOURNAMENT", "LANTOURNAMENT"})
            known = known || equalsNoCase(request.runMode, mode);
        if (!known)
            return "upload-config needs --run-mode GLOBAL, LAN, TOURNAMENT or LANTOURNAMENT.";
        for (char& ch : request.runMode)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (request.map.empty())
            return "upload-config needs --map MAP.";
    }
    return {};
}

int runRemoteOperation(RemoteControlLibrary& library, const RemoteRequest& request, const std::string& user,
                       const std::string& password, std::ostream& out, std::ostream& err) {
    KvsmRemoteObject* object = library.create(request.host.c_str(), user.c_str(), password.c_str());
    if (!object) {
        err << "kvsm remote: out of memory.\n";
        return 1;
    }
    CliStatus progress(err, request.verbose);
    library.setStatusWindow(object, &progress);
    IdentityCheck feedIdentity;
    int ok = perform(library, object, request, out, err, feedIdentity);
    // A feed contacts the agent on a connection of its own, not through the object.
    const bool refused =
        request.command == "feed"
            ? reportAgentIdentity(feedIdentity, request.host, request.trustFile, err)
            : reportAgentIdentity(library, object, request.host, request.trustFile, progress.last(), err);
    library.destroy(object);

    if (ok == kFailureTold)
        return 1;
    if (ok)
        return 0;
    err << "kvsm remote: " << request.command << " failed";
    if (!refused && !progress.last().empty())
        err << " (last step: " << progress.last() << ")";
    err << ".\n";
    return 1;
}

} // namespace kv::cli
