#include "manager/setups/ShippedData.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "manager/setups/SetupStore.h"

namespace kv::setups {

const std::vector<std::string>& shippedDataFiles() {
    static const std::vector<std::string> files = {"ConfigurationTemplate.ini", "MapInfo.xml"};
    return files;
}

std::string findShippedDataFolder(const std::vector<std::string>& candidates) {
    for (const std::string& folder : candidates)
        if (!folder.empty() && fileExists(joinPath(folder, shippedDataFiles().front())))
            return folder;
    return {};
}

namespace {

// Copies <from>/<relative> to <to>/<relative> unless the target exists in any form (a folder or a link the
// administrator put there is theirs as much as a file).
bool copyMissing(const std::string& from, const std::string& to, const std::string& relative) {
    const std::string target = joinPath(to, relative);
    if (fileExists(target) || directoryExists(target))
        return false;
    auto bytes = readRegularFile(joinPath(from, relative), kMaxSetupFileBytes);
    return bytes && writeFileAtomically(target, *bytes);
}

} // namespace

std::vector<std::string> prepareWorkingFolder(const std::string& workingFolder, const std::string& dataFolder) {
    std::vector<std::string> copied;
    makeDirectories(joinPath(workingFolder, kSetupsFolderName));
    if (dataFolder.empty())
        return copied;
    for (const std::string& file : shippedDataFiles())
        if (copyMissing(dataFolder, workingFolder, file))
            copied.push_back(file);
    const std::string leagues = joinPath(dataFolder, kLeagueFolderName);
    if (!directoryExists(leagues))
        return copied;
    makeDirectories(joinPath(workingFolder, kLeagueFolderName));
    for (const std::string& name : listDirectory(leagues)) {
        const std::string relative = joinPath(kLeagueFolderName, name);
        if (fileExists(joinPath(dataFolder, relative)) && copyMissing(dataFolder, workingFolder, relative))
            copied.push_back(relative);
    }
    return copied;
}

} // namespace kv::setups
