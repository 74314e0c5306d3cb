#include "manager/core/ManagerFolders.h"

#include "common/Files.h"
#include "common/InstallLayout.h"
#include "manager/setups/ShippedData.h"

#include <QStandardPaths>

#include <cstdlib>
#include <vector>

namespace kv::core {

std::string defaultWorkingFolder() {
    return joinPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString(),
                    "KV Server Manager");
}

std::string documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

std::string shippedDataFolder(const std::string& programFolder) {
    std::vector<std::string> candidates;
    if (const char* env = std::getenv("KV_DATA_DIR"))
        candidates.emplace_back(env);
    candidates.push_back(installedDataFolder(programFolder));
    if (!programFolder.empty() && programFolder.front() == '/')
        candidates.push_back(joinPath(programFolder, "data"));
#ifdef KV_SOURCE_DATA_DIR
    candidates.emplace_back(KV_SOURCE_DATA_DIR); // a build tree run from where it was built
#endif
    return setups::findShippedDataFolder(candidates);
}

std::string helpFolder(const std::string& programFolder) {
    std::vector<std::string> candidates;
    if (const char* env = std::getenv("KV_HELP_DIR"))
        candidates.emplace_back(env);
    candidates.push_back(installedHelpFolder(programFolder));
#ifdef KV_SOURCE_HELP_DIR
    candidates.emplace_back(KV_SOURCE_HELP_DIR);
#endif
    for (const std::string& folder : candidates)
        if (!folder.empty() && fileExists(joinPath(folder, "GettingStarted.html")))
            return folder;
    return {};
}

} // namespace kv::core
