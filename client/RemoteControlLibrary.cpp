#include "client/RemoteControlLibrary.h"

#include <dlfcn.h>

namespace kv {

template <typename Fn> bool RemoteControlLibrary::bind(Fn& slot, const char* name) {
    slot = reinterpret_cast<Fn>(::dlsym(handle_, name));
    if (!slot && error_.empty())
        error_ = std::string("the remote control library lacks the function ") + name;
    return slot != nullptr;
}

bool RemoteControlLibrary::load(const std::string& path) {
    error_.clear();
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = ::dlerror();
        error_ = "cannot load the remote control library " + path + ": " + (reason ? reason : "unknown reason");
        return false;
    }
    if (!bind(version, "KvsmRemoteControlApiVersion"))
        return false;
    if (version() != KVSM_REMOTE_CONTROL_API_VERSION) {
        error_ = "the remote control library " + path + " has interface version " + std::to_string(version()) +
                 ", this program needs " + std::to_string(KVSM_REMOTE_CONTROL_API_VERSION);
        return false;
    }
    int missing = 0;
    missing += !bind(create, "CreateRemoteControlObject");
    missing += !bind(destroy, "DestroyRemoteControlObject");
    missing += !bind(setStatusWindow, "SetStatusWindow");
    missing += !bind(startServer, "StartServer");
    missing += !bind(stopServer, "StopServer");
    missing += !bind(getServerStatus, "GetServerStatus");
    missing += !bind(startMonitor, "StartMonitor");
    missing += !bind(uploadConfiguration, "UploadConfiguration");
    missing += !bind(uploadServerSetup, "UploadServerSetup");
    missing += !bind(downloadServerSetup, "DownloadServerSetup");
    missing += !bind(retrieveServerSetupList, "RetrieveServerSetupList");
    missing += !bind(deleteConfiguration, "DeleteConfiguration");
    missing += !bind(activateConfiguration, "ActivateConfiguration");
    missing += !bind(getRestartTime, "GetRestartTime");
    missing += !bind(setRestartTime, "SetRestartTime");
    missing += !bind(uploadBanList, "UploadBanList");
    missing += !bind(downloadBanList, "DownloadBanList");
    missing += !bind(retrievePunkbusterConfigFileList, "RetrievePunkbusterConfigFileList");
    missing += !bind(uploadPBConfig, "UploadPBConfig");
    missing += !bind(downloadPBConfig, "DownloadPBConfig");
    missing += !bind(retrievePunkbusterScreenshotFileList, "RetrievePunkbusterScreenshotFileList");
    missing += !bind(retrievePunkbusterScreenshotFile, "RetrievePunkbusterScreenshotFile");
    missing += !bind(setTrustFile, "SetTrustFile");
    missing += !bind(checkAgentIdentity, "CheckAgentIdentity");
    missing += !bind(getAgentIdentity, "GetAgentIdentity");
    return missing == 0;
}

} // namespace kv
