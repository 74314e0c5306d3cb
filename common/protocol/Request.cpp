#include "common/protocol/Request.h"

#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

#include <array>

namespace kv::protocol {

namespace {
constexpr std::array<const char*, 26> kWords = {
    "Logout",
    "StartServer",
    "StopServer",
    "MonitorFeed",
    "GetPBScreenShotList",
    "GetPBScreenShotFile",
    "GetPBLogFileList",
    "GetPBLogFile",
    "QueryStatLogging",
    "GetStatus",
    "GetRestartTime",
    "SetRestartTime",
    "UploadServerSetupFile",
    "DownloadServerSetupFile",
    "UploadConfiguration",
    "DownloadConfiguration",
    "ActivateConfiguration",
    "RemoveConfiguration",
    "GetConfigurationList",
    "UploadBanList",
    "DownloadBanList",
    "DownloadPBConfig",
    "UploadPBConfig",
    "DownloadPBOptionFile",
    "UploadPBOptionFile",
    "GetPBCfgFiles",
};
static_assert(static_cast<std::size_t>(Request::GetPBCfgFiles) + 1 == kWords.size());
} // namespace

const char* requestWord(Request request) {
    return kWords[static_cast<std::size_t>(request)];
}

std::optional<Request> matchRequest(std::string_view line) {
    for (std::size_t i = 0; i < kWords.size(); ++i) {
        if (startsWithNoCase(line, kWords[i]))
            return static_cast<Request>(i);
    }
    return std::nullopt;
}

bool isLoginRequest(std::string_view line) {
    return startsWithNoCase(line, kLogin);
}

} // namespace kv::protocol
