// The plain functions of libkvsm-remote-control.so: each is a thin entry to one client operation. Nothing thrown
// inside crosses this boundary; a null object fails the call.
#include "client/RemoteControlApi.h"

#include "client/CServerRemoteControl.h"
#include "client/TrustSettings.h"

#include <new>

using kv::CServerRemoteControl;

namespace {

template <typename Call> int guarded(KvsmRemoteObject* object, Call call) noexcept {
    if (!object)
        return 0;
    try {
        return call(*object);
    } catch (...) {
        return 0;
    }
}

static_assert(static_cast<int>(kv::AgentTrust::NoContact) == KVSM_AGENT_NO_CONTACT &&
              static_cast<int>(kv::AgentTrust::Known) == KVSM_AGENT_KNOWN &&
              static_cast<int>(kv::AgentTrust::Recorded) == KVSM_AGENT_RECORDED &&
              static_cast<int>(kv::AgentTrust::Unknown) == KVSM_AGENT_UNKNOWN &&
              static_cast<int>(kv::AgentTrust::Changed) == KVSM_AGENT_CHANGED &&
              static_cast<int>(kv::AgentTrust::TrustFileUnusable) == KVSM_AGENT_TRUST_FILE_UNUSABLE);

std::string text(const char* value) {
    return value ? std::string(value) : std::string();
}

} // namespace

extern "C" {

KVSM_EXPORT int KvsmRemoteControlApiVersion() {
    return KVSM_REMOTE_CONTROL_API_VERSION;
}

KVSM_EXPORT KvsmRemoteObject* CreateRemoteControlObject(const char* serverAddress, const char* adminName,
                                                        const char* password) {
    try {
        return new CServerRemoteControl(text(serverAddress), text(adminName), text(password));
    } catch (...) {
        return nullptr;
    }
}

KVSM_EXPORT void DestroyRemoteControlObject(KvsmRemoteObject* object) {
    delete object;
}

KVSM_EXPORT void SetStatusWindow(KvsmRemoteObject* object, kv::StatusSink* statusWindow) {
    if (object)
        object->SetStatusWindow(statusWindow);
}

KVSM_EXPORT int StartServer(KvsmRemoteObject* object) {
    return guarded(object, [](CServerRemoteControl& o) { return o.StartServer(); });
}

KVSM_EXPORT int StopServer(KvsmRemoteObject* object) {
    return guarded(object, [](CServerRemoteControl& o) { return o.StopServer(); });
}

KVSM_EXPORT int GetServerStatus(KvsmRemoteObject* object, std::string* setupName, std::string* status,
                                std::string* mapFile, std::string* description, std::string* gameAdminPassword,
                                std::string* gamePlayerPassword, std::uint32_t* totalUpTime, int* serverCrashes,
                                std::int32_t* currentRamUsage, std::int32_t* peakRamUsage) {
    if (!setupName || !status || !mapFile || !description || !gameAdminPassword || !gamePlayerPassword ||
        !totalUpTime || !serverCrashes || !currentRamUsage || !peakRamUsage)
        return 0;
    return guarded(object, [&](CServerRemoteControl& o) {
        return o.GetServerStatus(*setupName, *status, *mapFile, *description, *gameAdminPassword, *gamePlayerPassword,
                                 *totalUpTime, *serverCrashes, *currentRamUsage, *peakRamUsage);
    });
}

KVSM_EXPORT kv::MonitorThread* StartMonitor(KvsmRemoteObject* object, kv::MonitorSink* monitorWindow,
                                            kv::MonitorLines* monitorLines) {
    if (!object)
        return nullptr;
    try {
        return object->StartMonitor(monitorWindow, monitorLines);
    } catch (...) {
        return nullptr;
    }
}

KVSM_EXPORT int UploadConfiguration(KvsmRemoteObject* object, const char* localGameConfigurationPath,
                                    const char* configurationName, const char* runMode, const char* map,
                                    const char* description, const char* gameAdminPassword,
                                    const char* gamePlayerPassword) {
    return guarded(object, [&](CServerRemoteControl& o) {
        return o.UploadConfiguration(text(localGameConfigurationPath), text(configurationName), text(runMode),
                                     text(map), text(description), text(gameAdminPassword), text(gamePlayerPassword));
    });
}

KVSM_EXPORT int UploadServerSetup(KvsmRemoteObject* object, const char* setupName, const char* localPath) {
    return guarded(object,
                   [&](CServerRemoteControl& o) { return o.UploadServerSetup(text(setupName), text(localPath)); });
}

KVSM_EXPORT int DownloadServerSetup(KvsmRemoteObject* object, const char* setupName) {
    return guarded(object, [&](CServerRemoteControl& o) { return o.DownloadServerSetup(text(setupName)); });
}

KVSM_EXPORT int RetrieveServerSetupList(KvsmRemoteObject* object, KvsmTextList* list) {
    if (!list)
        return 0;
    return guarded(object, [&](CServerRemoteControl& o) { return o.RetrieveServerSetupList(*list); });
}

KVSM_EXPORT int DeleteConfiguration(KvsmRemoteObject* object, const char* configurationName) {
    return guarded(object, [&](CServerRemoteControl& o) { return o.DeleteConfiguration(text(configurationName)); });
}

KVSM_EXPORT int ActivateConfiguration(KvsmRemoteObject* object, const char* configurationName) {
    return guarded(object, [&](CServerRemoteControl& o) { return o.ActivateConfiguration(text(configurationName)); });
}

KVSM_EXPORT int GetRestartTime(KvsmRemoteObject* object, std::string* time) {
    if (!time)
        return 0;
    return guarded(object, [&](CServerRemoteControl& o) { return o.GetRestartTime(*time); });
}

KVSM_EXPORT int SetRestartTime(KvsmRemoteObject* object, const char* time) {
    return guarded(object, [&](CServerRemoteControl& o) { return o.SetRestartTime(text(time)); });
}

KVSM_EXPORT int UploadBanList(KvsmRemoteObject* object, const char* localPath) {
    return guarded(object, [&](CServerRemoteControl& o) { return o.UploadBanlist(text(localPath)); });
}

KVSM_EXPORT int DownloadBanList(KvsmRemoteObject* object, const char* localPath) {
    return guarded(object, [&](CServerRemoteControl& o) { return o.DownloadBanlist(text(localPath)); });
}

KVSM_EXPORT int RetrievePunkbusterConfigFileList(KvsmRemoteObject* object, KvsmTextList* list) {
    if (!list)
        return 0;
    return guarded(object, [&](CServerRemoteControl& o) { return o.RetrievePunkbusterConfigFileList(*list); });
}

KVSM_EXPORT int UploadPBConfig(KvsmRemoteObject* object, const char* optionFileName) {
    return guarded(object, [&](CServerRemoteControl& o) { return o.UploadPBConfig(text(optionFileName)); });
}

KVSM_EXPORT int DownloadPBConfig(KvsmRemoteObject* object, const char* optionFileName) {
    return guarded(object, [&](CServerRemoteControl& o) { return o.DownloadPBConfig(text(optionFileName)); });
}

KVSM_EXPORT int RetrievePunkbusterScreenshotFileList(KvsmRemoteObject* object, KvsmTextList* list, int logs) {
    if (!list)
        return 0;
    return guarded(object,
                   [&](CServerRemoteControl& o) { return o.RetrievePunkbusterScreenshotFileList(*list, logs); });
}

KVSM_EXPORT int RetrievePunkbusterScreenshotFile(KvsmRemoteObject* object, const char* fileName, int logs) {
    return guarded(object,
                   [&](CServerRemoteControl& o) { return o.RetrievePunkbusterScreenshotFile(text(fileName), logs); });
}

KVSM_EXPORT int SetTrustFile(const char* path, int policy) {
    if (policy != KVSM_TRUST_ON_FIRST_USE && policy != KVSM_TRUST_KNOWN_ONLY)
        return 0;
    try {
        kv::setProcessTrustSettings({text(path), policy == KVSM_TRUST_KNOWN_ONLY ? kv::TrustPolicy::KnownOnly
                                                                                 : kv::TrustPolicy::TrustOnFirstUse});
        return 1;
    } catch (...) {
        return 0;
    }
}

KVSM_EXPORT int CheckAgentIdentity(KvsmRemoteObject* object) {
    return guarded(object, [](CServerRemoteControl& o) { return o.CheckAgentIdentity(); });
}

KVSM_EXPORT int GetAgentIdentity(KvsmRemoteObject* object, int* trust, std::string* fingerprint,
                                 std::string* recordedFingerprint) {
    return guarded(object, [&](CServerRemoteControl& o) {
        if (trust)
            *trust = static_cast<int>(o.LastAgentTrust());
        if (fingerprint)
            *fingerprint = o.PresentedFingerprint();
        if (recordedFingerprint)
            *recordedFingerprint = o.RecordedFingerprint();
        return o.LastAgentTrust() != kv::AgentTrust::NoContact ? 1 : 0;
    });
}

} // extern "C"
