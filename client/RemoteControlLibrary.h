#pragma once

#include "client/RemoteControlApi.h"

#include <string>

namespace kv {

// libkvsm-remote-control.so loaded with dlopen and bound by name: the version first, then every function. A
// library that lacks one of them is refused as a whole. For programs that use the library (kvsm, the manager);
// this class is not part of the library itself.
class RemoteControlLibrary {
public:
    // False (with error()) when the library cannot be loaded or bound.
    bool load(const std::string& path);
    const std::string& error() const { return error_; }

    KvsmRemoteControlApiVersionFn version = nullptr;
    CreateRemoteControlObjectFn create = nullptr;
    DestroyRemoteControlObjectFn destroy = nullptr;
    SetStatusWindowFn setStatusWindow = nullptr;
    StartServerFn startServer = nullptr;
    StopServerFn stopServer = nullptr;
    GetServerStatusFn getServerStatus = nullptr;
    StartMonitorFn startMonitor = nullptr;
    UploadConfigurationFn uploadConfiguration = nullptr;
    UploadServerSetupFn uploadServerSetup = nullptr;
    DownloadServerSetupFn downloadServerSetup = nullptr;
    RetrieveServerSetupListFn retrieveServerSetupList = nullptr;
    DeleteConfigurationFn deleteConfiguration = nullptr;
    ActivateConfigurationFn activateConfiguration = nullptr;
    GetRestartTimeFn getRestartTime = nullptr;
    SetRestartTimeFn setRestartTime = nullptr;
    UploadBanListFn uploadBanList = nullptr;
    DownloadBanListFn downloadBanList = nullptr;
    RetrievePunkbusterConfigFileListFn retrievePunkbusterConfigFileList = nullptr;
    UploadPBConfigFn uploadPBConfig = nullptr;
    DownloadPBConfigFn downloadPBConfig = nullptr;
    RetrievePunkbusterScreenshotFileListFn retrievePunkbusterScreenshotFileList = nullptr;
    RetrievePunkbusterScreenshotFileFn retrievePunkbusterScreenshotFile = nullptr;
    SetTrustFileFn setTrustFile = nullptr;
    CheckAgentIdentityFn checkAgentIdentity = nullptr;
    GetAgentIdentityFn getAgentIdentity = nullptr;

private:
    template <typename Fn> bool bind(Fn& slot, const char* name);

    // The library stays loaded until the process ends: a finished monitor thread may still be returning through
    // its code when the caller hears of its end.
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace kv
