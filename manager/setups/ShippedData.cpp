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

std::vector<std::string> prepareWorkingFolder(const std::string& workingFolder, const std::string& dataFolder) {
    std::vector<std::string> copied;
    makeDirectories(joinPath(workingFolder, kSetupsFolderName));
    if (dataFolder.empty())
        return copied;
    for (const std::string& file : shippedDataFiles()) {
        const std::string target = joinPath(workingFolder, file);
        if (fileExists(target))
            continue;
        if (auto bytes = readFile(joinPath(dataFolder, file)); bytes && writeFileAtomically(target, *bytes))
            copied.push_back(file);
    }
    return copied;
}

} // namespace kv::setups
