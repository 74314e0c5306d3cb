#include "manager/core/HostBanFile.h"

#include "common/DecimalNumber.h"
#include "common/Files.h"
#include "common/protocol/ProtocolWords.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace kv::core {

namespace {

// Far below a file name's 255 bytes with "BanFile", the port and ".txt" around it.
constexpr std::size_t kMaxHostPart = 200;

bool isHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

} // namespace

std::string hostBanFileName(std::string_view address) {
    std::string_view host = address, port;
    if (const std::size_t colon = address.find(':'); colon != std::string_view::npos) {
        host = address.substr(0, colon);
        port = address.substr(colon + 1);
    }
    if (host.empty() || host.size() > kMaxHostPart || host.find("..") != std::string_view::npos)
        return {};
    for (char c : host)
        if (!isHostCharacter(c))
            return {};
    std::string name = "BanFile" + std::string(host);
    if (address.find(':') != std::string_view::npos) {
        if (port.size() > 5 || port.find_first_not_of("0123456789") != std::string_view::npos)
            return {};
        const int number = parseDecimalInt(port);
        if (number < 1 || number > 65535)
            return {};
        if (number != static_cast<int>(protocol::kDefaultPort))
            name += "_" + std::to_string(number);
    }
    return name + ".txt";
}

bool setAsideBanFile(const std::string& path, std::string* error) {
    if (std::rename(path.c_str(), (path + ".old").c_str()) == 0 || errno == ENOENT)
        return true;
    if (error)
        *error =
            "The earlier copy " + path + " could not be moved aside: " + std::generic_category().message(errno) + ".";
    return false;
}

bool storeBanListForUpload(const std::string& folder, const std::string& path, const BanList& list,
                           std::string* error) {
    if (!writeBanListFile(path, list, error))
        return false;
    appendBanListRecord(joinPath(folder, kMasterBanRecordFile), list);
    return true;
}

} // namespace kv::core
