#pragma once

#include "client/RemoteControlLibrary.h"

#include <chrono>
#include <string>

namespace kv::setups {
class MapTable;
struct ServerSetup;
} // namespace kv::setups

namespace kv::remote {

// Everything one setup upload sends, copied out of the setup on the window's thread so that the worker owns it.
struct SetupUpload {
    std::string iniPath; // the generated game configuration file
    std::string name;    // the setup's name: the host files it under this name
    std::string runMode; // "GLOBAL", "LAN", "TOURNAMENT" or "LANTOURNAMENT"
    std::string map;     // m_csMapFile
    std::string description;
    std::string adminPassword;
    std::string playerPassword;
    std::string setupFile; // the local setup file sent after the configuration
};

// The upload of a generated setup: `iniPath` names its game configuration file and `setupFile` the setup file that
// was read. The description is the detailed one, guarded against ending early.
SetupUpload makeSetupUpload(const setups::ServerSetup& setup, const setups::MapTable& maps, std::string iniPath,
                            std::string setupFile);

// How far an upload went.
enum class UploadResult : int { Refused = 0, ConfigurationOnly = 1, Complete = 2 };

// The upload sequence on one client object: UploadConfiguration, then UploadServerSetup when it succeeded, with
// `pause` before and after the second call (the host finishes storing the configuration first). Runs on a worker.
UploadResult uploadSetup(const RemoteControlLibrary& library, KvsmRemoteObject* object, const SetupUpload& upload,
                         std::chrono::milliseconds pause);

} // namespace kv::remote
