#include "manager/remote/RemoteSetupUpload.h"

#include "manager/remote/RemoteSetupRows.h"
#include "manager/setups/ConfigGenerator.h"
#include "manager/setups/SetupDescription.h"

#include <thread>

namespace kv::remote {

SetupUpload makeSetupUpload(const setups::ServerSetup& setup, const setups::MapTable& maps, std::string iniPath,
                            std::string setupFile) {
    SetupUpload upload;
    upload.iniPath = std::move(iniPath);
    upload.name = setup.m_csName;
    upload.runMode = std::string(setups::runMode(setup));
    upload.map = setup.m_csMapFile;
    upload.description = guardUploadDescription(setups::describeSetup(setup, maps, true));
    upload.adminPassword = setup.m_csAdminPassword;
    upload.playerPassword = setup.m_csPlayerPassword;
    upload.setupFile = std::move(setupFile);
    return upload;
}

UploadResult uploadSetup(const RemoteControlLibrary& library, KvsmRemoteObject* object, const SetupUpload& upload,
                         std::chrono::milliseconds pause) {
    if (!library.uploadConfiguration(object, upload.iniPath.c_str(), upload.name.c_str(), upload.runMode.c_str(),
                                     upload.map.c_str(), upload.description.c_str(), upload.adminPassword.c_str(),
                                     upload.playerPassword.c_str()))
        return UploadResult::Refused;
    if (pause.count() > 0)
        std::this_thread::sleep_for(pause);
    const int sent = library.uploadServerSetup(object, upload.name.c_str(), upload.setupFile.c_str());
    if (pause.count() > 0)
        std::this_thread::sleep_for(pause);
    return sent ? UploadResult::Complete : UploadResult::ConfigurationOnly;
}

} // namespace kv::remote
