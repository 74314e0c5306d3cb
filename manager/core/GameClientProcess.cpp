#include "manager/core/GameClientProcess.h"

#include "common/DecimalNumber.h"
#include "common/Files.h"
#include "common/Text.h"

#include <unistd.h>

#include <algorithm>
#include <sstream>

namespace kv::core {

namespace {

// "comm" and "status" are small; a bound keeps an odd file from costing more than a glance.
constexpr std::size_t kMaxProcFileBytes = 64 * 1024;

bool isNumber(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The real user id of a "status" text ("Uid:\treal\teffective\tsaved\tfs"), or nothing.
std::optional<long long> realUid(const std::string& status) {
    std::istringstream lines(status);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Uid:", 0) != 0)
            continue;
        const std::string_view rest = trim(std::string_view(line).substr(4));
        if (rest.empty() || rest.front() < '0' || rest.front() > '9')
            return std::nullopt;
        return parseDecimalLong(rest);
    }
    return std::nullopt;
}

} // namespace

bool isProgramRunning(const std::string& procFolder, const std::string& name, uid_t uid) {
    for (const std::string& entry : listDirectory(procFolder)) {
        if (!isNumber(entry))
            continue;
        const std::string folder = joinPath(procFolder, entry);
        const std::optional<std::string> comm = readRegularFile(joinPath(folder, "comm"), kMaxProcFileBytes);
        if (!comm || chompLineBreak(*comm) != name)
            continue;
        const std::optional<std::string> status = readRegularFile(joinPath(folder, "status"), kMaxProcFileBytes);
        if (!status)
            continue;
        if (std::optional<long long> owner = realUid(*status); owner && *owner == static_cast<long long>(uid))
            return true;
    }
    return false;
}

bool isGameClientRunning(const std::string& procFolder) {
    return isProgramRunning(procFolder, kGameClientProgram, ::getuid());
}

} // namespace kv::core
