#include "cli/RemoteBans.h"

#include "cli/RemoteOperations.h"
#include "common/DecimalNumber.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"
#include "common/Text.h"
#include "manager/core/BanList.h"
#include "manager/core/HostBanFile.h"

#include <climits>
#include <ctime>
#include <optional>
#include <ostream>
#include <unistd.h>

namespace kv::cli {

namespace {

// Local midnight at the start of YYYY-MM-DD, within what a ban list holds (after 1970-01-01, before 2038-01-19).
std::optional<std::int32_t> endOfBan(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    std::tm tm{};
    tm.tm_year = parseDecimalInt(text.substr(0, 4)) - 1900;
    tm.tm_mon = parseDecimalInt(text.substr(5, 2)) - 1;
    tm.tm_mday = parseDecimalInt(text.substr(8, 2));
    tm.tm_isdst = -1;
    const int year = tm.tm_year + 1900, month = tm.tm_mon + 1, day = tm.tm_mday;
    const std::int64_t seconds = static_cast<std::int64_t>(std::mktime(&tm));
    if (seconds <= 0 || seconds > INT32_MAX)
        return std::nullopt;
    const LocalTime back = toLocalTime(seconds); // 2026-02-30 would come back as March
    if (back.year != year || back.month != month || back.day != day)
        return std::nullopt;
    return static_cast<std::int32_t>(seconds);
}

std::string dayText(std::int32_t endTime) {
    if (endTime == 0)
        return "Permanent";
    const LocalTime t = toLocalTime(endTime);
    return format("%4.4d-%2.2d-%2.2d", t.year, t.month, t.day);
}

// The host's list as it is now, fetched into the local copy; false (with the reason told) when it could not be.
bool fetch(RemoteControlLibrary& library, KvsmRemoteObject* object, const std::string& file, core::BanList& list,
           std::ostream& err) {
    std::string problem;
    if (!core::setAsideBanFile(file, &problem)) {
        err << "kvsm remote: " << problem << '\n';
        return false;
    }
    if (!library.downloadBanList(object, file.c_str()))
        return false;
    core::mergeBanListFile(file, list);
    return true;
}

int cannotName(const std::string& host, std::ostream& err) {
    err << "kvsm remote: the address " << host << " cannot name a local ban list file.\n";
    return kFailureTold;
}

} // namespace

std::string checkBanArguments(const std::string& command, const std::string& type, const std::string& value,
                              const std::string* until, const std::string* player, BanRequest& request) {
    request = {};
    for (std::string_view known : {core::kBanTypeName, core::kBanTypeIp, core::kBanTypeMac})
        if (equalsNoCase(type, known))
            request.type = std::string(known);
    if (request.type.empty())
        return command + " takes NAME, IP or MAC, then the value.";
    if (std::string problem = core::banFieldProblem(value); !problem.empty())
        return command + ": the value cannot be used: " + problem + ".";
    request.value = value;
    if (command == "unban") {
        if (until || player)
            return "--until and --player go with ban only.";
        return {};
    }
    if (until) {
        const std::optional<std::int32_t> end = endOfBan(*until);
        if (!end)
            return "--until takes a date YYYY-MM-DD from 1970-01-02 to 2038-01-18.";
        request.endTime = *end;
    }
    // A name ban keeps the name as the player's, as the manager's add dialog does.
    request.playerName = player ? *player : request.type == core::kBanTypeName ? value : std::string();
    if (std::string problem = core::banFieldProblem(request.playerName); !problem.empty())
        return "--player cannot be used: " + problem + ".";
    return {};
}

int listBans(RemoteControlLibrary& library, KvsmRemoteObject* object, const RemoteRequest& request, std::ostream& out,
             std::ostream& err) {
    const std::string file = core::hostBanFileName(request.host);
    if (file.empty())
        return cannotName(request.host, err);
    core::BanList list;
    if (!fetch(library, object, file, list, err))
        return 0;
    // Top row first, as the manager shows them.
    for (const core::BanEntry& entry : list)
        out << entry.type << '\t' << entry.value << '\t' << dayText(entry.endTime) << '\t' << entry.playerName << '\n';
    return 1;
}

int changeBans(RemoteControlLibrary& library, KvsmRemoteObject* object, const RemoteRequest& request, std::ostream& out,
               std::ostream& err) {
    const std::string file = core::hostBanFileName(request.host);
    if (file.empty())
        return cannotName(request.host, err);
    const BanRequest& ban = request.ban;
    core::BanList list;
    if (!fetch(library, object, file, list, err))
        return 0;
    if (request.command == "ban") {
        const core::BanEntry entry{ban.type, ban.value, ban.endTime, ban.playerName};
        // Through the merge, so that "already there" means what it means for an import; a new entry goes on top.
        if (core::mergeBanListText(core::banFileLine(entry), list) == 0) {
            out << "Already banned: " << ban.type << ' ' << ban.value << '\n';
            return 1;
        }
    } else {
        const std::size_t before = list.size();
        std::erase_if(list, [&ban](const core::BanEntry& e) {
            return equalsNoCase(e.type, ban.type) && equalsNoCase(e.value, ban.value);
        });
        if (list.size() == before) {
            err << "kvsm remote: unban: the host's ban list has no " << ban.type << " entry " << ban.value << ".\n";
            return kFailureTold;
        }
        out << "Removed " << before - list.size() << " entr" << (before - list.size() == 1 ? "y" : "ies") << '\n';
    }
    char cwd[4096];
    const std::string folder = ::getcwd(cwd, sizeof cwd) ? cwd : ".";
    std::string problem;
    if (!core::storeBanListForUpload(folder, file, list, &problem)) {
        err << "kvsm remote: " << problem << '\n';
        return kFailureTold;
    }
    return library.uploadBanList(object, file.c_str());
}

} // namespace kv::cli
