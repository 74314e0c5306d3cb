#include "cli/ManagerPreferences.h"

#include "manager/core/GameInstallation.h"
#include "manager/core/ManagerFolders.h"
#include "manager/core/ManagerSettings.h"

namespace kv::cli {

ManagerPreferences readManagerPreferences() {
    const core::ManagerSettings settings =
        core::readManagerSettings(core::managerSettingsFile(), core::findGameInstallation());
    ManagerPreferences prefs;
    prefs.workingFolder = core::defaultWorkingFolder();
    prefs.documentsFolder = core::documentsFolder();
    prefs.serverLocation = settings.serverLocation;
    prefs.authUserName = settings.authServerUserName;
    prefs.authPassword = settings.authServerPassword;
    prefs.authAddress = settings.authServerIP;
    return prefs;
}

} // namespace kv::cli
