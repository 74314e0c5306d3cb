#pragma once

// The exports of libkvsm-remote-control.so. A caller loads the library with dlopen, checks
// KvsmRemoteControlApiVersion() against KVSM_REMOTE_CONTROL_API_VERSION first, then binds the other functions by
// name (the *Fn types below). Every int result is non-zero for success and 0 for failure; no export throws.
// Input texts are NUL-terminated; outputs are the caller's strings and lists, which the library fills.

#include "client/RemoteControlSinks.h"

#include <cstdint>
#include <string>
#include <vector>

#define KVSM_REMOTE_CONTROL_API_VERSION 1

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
// The returned thread is suspended: call resume() on it.
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

// File name of the library, found beside the program that loads it.
#define KVSM_REMOTE_CONTROL_LIBRARY "libkvsm-remote-control.so"
