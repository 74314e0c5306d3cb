#pragma once

// The exports of libkvsm-remote-control.so. A caller loads the library with dlopen, checks
// KvsmRemoteControlApiVersion() against KVSM_REMOTE_CONTROL_API_VERSION first, then binds the other functions by
// name (the *Fn types below). Every int result is non-zero for success and 0 for failure; no export throws.
// Input texts are NUL-terminated; outputs are the caller's strings and lists, which the library fills.

#include "client/RemoteControlSinks.h"

#include <cstdint>
#include <string>
#include <vector>

// 2: the agent's identity is pinned in a trust file (SetTrustFile, CheckAgentIdentity, GetAgentIdentity); the
// monitor thread belongs to its caller (MonitorThread::stop, release and agentIdentity) and has its own connection.
#define KVSM_REMOTE_CONTROL_API_VERSION 2

// Policies of SetTrustFile for an agent that the trust file does not know yet.
#define KVSM_TRUST_ON_FIRST_USE 0 // record its identity and go on
#define KVSM_TRUST_KNOWN_ONLY 1   // refuse it before anything is sent

// Outcomes of the last contact, from GetAgentIdentity.
#define KVSM_AGENT_NO_CONTACT 0          // no handshake has completed
#define KVSM_AGENT_KNOWN 1               // the agent presented the recorded identity
#define KVSM_AGENT_RECORDED 2            // first contact: its identity was recorded (trust on first use)
#define KVSM_AGENT_UNKNOWN 3             // not in the trust file, nothing recorded: refused, or CheckAgentIdentity
#define KVSM_AGENT_CHANGED 4             // another identity than the recorded one: refused, nothing sent
#define KVSM_AGENT_TRUST_FILE_UNUSABLE 5 // the trust file could not be read or written: refused, nothing sent

#if defined(KVSM_BUILDING_LIBRARY)
#define KVSM_EXPORT __attribute__((visibility("default")))
#else
#define KVSM_EXPORT
#endif

namespace kv {
class CServerRemoteControl;
}
using KvsmRemoteObject = kv::CServerRemoteControl;
using KvsmTextList = std::vector<std::string>;

extern "C" {
KVSM_EXPORT int KvsmRemoteControlApiVersion();

// Null when memory is exhausted. The caller owns the object and frees it with DestroyRemoteControlObject.
KVSM_EXPORT KvsmRemoteObject* CreateRemoteControlObject(const char* serverAddress, const char* adminName,
                                                        const char* password);
KVSM_EXPORT void DestroyRemoteControlObject(KvsmRemoteObject* object);
KVSM_EXPORT void SetStatusWindow(KvsmRemoteObject* object, kv::StatusSink* statusWindow);

KVSM_EXPORT int StartServer(KvsmRemoteObject* object);
KVSM_EXPORT int StopServer(KvsmRemoteObject* object);
KVSM_EXPORT int GetServerStatus(KvsmRemoteObject* object, std::string* setupName, std::string* status,
                                std::string* mapFile, std::string* description, std::string* gameAdminPassword,
                                std::string* gamePlayerPassword, std::uint32_t* totalUpTime, int* serverCrashes,
                                std::int32_t* currentRamUsage, std::int32_t* peakRamUsage);
// The returned thread is suspended: call resume() on it, and release() on it in every case to end and free it.
// It connects on its own from the object's settings, so the object may be destroyed at any time. Null on failure.
KVSM_EXPORT kv::MonitorThread* StartMonitor(KvsmRemoteObject* object, kv::MonitorSink* monitorWindow,
                                            kv::MonitorLines* monitorLines);
KVSM_EXPORT int UploadConfiguration(KvsmRemoteObject* object, const char* localGameConfigurationPath,
                                    const char* configurationName, const char* runMode, const char* map,
                                    const char* description, const char* gameAdminPassword,
                                    const char* gamePlayerPassword);
KVSM_EXPORT int UploadServerSetup(KvsmRemoteObject* object, const char* setupName, const char* localPath);
KVSM_EXPORT int DownloadServerSetup(KvsmRemoteObject* object, const char* setupName);
KVSM_EXPORT int RetrieveServerSetupList(KvsmRemoteObject* object, KvsmTextList* list);
KVSM_EXPORT int DeleteConfiguration(KvsmRemoteObject* object, const char* configurationName);
KVSM_EXPORT int ActivateConfiguration(KvsmRemoteObject* object, const char* configurationName);
KVSM_EXPORT int GetRestartTime(KvsmRemoteObject* object, std::string* time);
KVSM_EXPORT int SetRestartTime(KvsmRemoteObject* object, const char* time);
KVSM_EXPORT int UploadBanList(KvsmRemoteObject* object, const char* localPath);
KVSM_EXPORT int DownloadBanList(KvsmRemoteObject* object, const char* localPath);
KVSM_EXPORT int RetrievePunkbusterConfigFileList(KvsmRemoteObject* object, KvsmTextList* list);
KVSM_EXPORT int UploadPBConfig(KvsmRemoteObject* object, const char* optionFileName);
KVSM_EXPORT int DownloadPBConfig(KvsmRemoteObject* object, const char* optionFileName);
KVSM_EXPORT int RetrievePunkbusterScreenshotFileList(KvsmRemoteObject* object, KvsmTextList* list, int logs);
KVSM_EXPORT int RetrievePunkbusterScreenshotFile(KvsmRemoteObject* object, const char* fileName, int logs);

// Every operation checks the certificate fingerprint that the agent presents against a trust file before it sends
// anything. Until this is called: the default trust file ($XDG_DATA_HOME or ~/.local/share, "KV Server
// Manager/known_agents") and KVSM_TRUST_ON_FIRST_USE. `path` null or empty: the default. Holds for every later
// connection of every object. 0 (nothing changed) for an unknown policy.
KVSM_EXPORT int SetTrustFile(const char* path, int policy);
// Connects, runs the handshake and compares the agent's fingerprint with the trust file, without recording anything
// and without logging in. Non-zero when the agent could be contacted, whatever the verdict (GetAgentIdentity).
KVSM_EXPORT int CheckAgentIdentity(KvsmRemoteObject* object);
// The last contact's outcome (KVSM_AGENT_*), the fingerprint the agent presented and the one the trust file holds
// for it ("AB:CD:...", empty when none). Null outputs are skipped. Non-zero when there was a contact.
KVSM_EXPORT int GetAgentIdentity(KvsmRemoteObject* object, int* trust, std::string* fingerprint,
                                 std::string* recordedFingerprint);
}

// Function types for binding by name with dlsym.
using KvsmRemoteControlApiVersionFn = decltype(&KvsmRemoteControlApiVersion);
using CreateRemoteControlObjectFn = decltype(&CreateRemoteControlObject);
using DestroyRemoteControlObjectFn = decltype(&DestroyRemoteControlObject);
using SetStatusWindowFn = decltype(&SetStatusWindow);
using StartServerFn = decltype(&StartServer);
using StopServerFn = decltype(&StopServer);
using GetServerStatusFn = decltype(&GetServerStatus);
using StartMonitorFn = decltype(&StartMonitor);
using UploadConfigurationFn = decltype(&UploadConfiguration);
using UploadServerSetupFn = decltype(&UploadServerSetup);
using DownloadServerSetupFn = decltype(&DownloadServerSetup);
using RetrieveServerSetupListFn = decltype(&RetrieveServerSetupList);
using DeleteConfigurationFn = decltype(&DeleteConfiguration);
using ActivateConfigurationFn = decltype(&ActivateConfiguration);
using GetRestartTimeFn = decltype(&GetRestartTime);
using SetRestartTimeFn = decltype(&SetRestartTime);
using UploadBanListFn = decltype(&UploadBanList);
using DownloadBanListFn = decltype(&DownloadBanList);
using RetrievePunkbusterConfigFileListFn = decltype(&RetrievePunkbusterConfigFileList);
using UploadPBConfigFn = decltype(&UploadPBConfig);
using DownloadPBConfigFn = decltype(&DownloadPBConfig);
using RetrievePunkbusterScreenshotFileListFn = decltype(&RetrievePunkbusterScreenshotFileList);
using RetrievePunkbusterScreenshotFileFn = decltype(&RetrievePunkbusterScreenshotFile);
using SetTrustFileFn = decltype(&SetTrustFile);
using CheckAgentIdentityFn = decltype(&CheckAgentIdentity);
using GetAgentIdentityFn = decltype(&GetAgentIdentity);

// File name of the library, found beside the program that loads it.
#define KVSM_REMOTE_CONTROL_LIBRARY "libkvsm-remote-control.so"
