#pragma once

#include <optional>
#include <string_view>

namespace kv::protocol {

// Requests in the agent's order of recognition.
enum class Request {
    Logout,
    StartServer,
    StopServer,
    MonitorFeed,
    GetPBScreenShotList,
    GetPBScreenShotFile,
    GetPBLogFileList,
    GetPBLogFile,
    QueryStatLogging,
    GetStatus,
    GetRestartTime,
    SetRestartTime,
    UploadServerSetupFile,
    DownloadServerSetupFile,
    UploadConfiguration,
    DownloadConfiguration,
    ActivateConfiguration,
    RemoveConfiguration,
    GetConfigurationList,
    UploadBanList,
    DownloadBanList,
    DownloadPBConfig,
    UploadPBConfig,
    DownloadPBOptionFile,
    UploadPBOptionFile,
    GetPBCfgFiles,
};

// The word that starts a request line.
const char* requestWord(Request request);

// Agent side: the first request, in table order, whose word begins the line (letter case ignored); empty when
// none does. A longer word still matches ("monitorfeed2" is the feed).
std::optional<Request> matchRequest(std::string_view line);

// Agent side, before login: only a line that begins with "Login" counts.
bool isLoginRequest(std::string_view line);

} // namespace kv::protocol
