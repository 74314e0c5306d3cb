#include "manager/local/SetupPackage.h"

#include "common/Files.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/ConfigGenerator.h"
#include "manager/setups/SetupStore.h"

namespace kv::manager::local {

SetupPackage SetupPackage::generate(const core::ManagerContext& context, const setups::MapTable& maps,
                                    const std::string& setupFile) {
    SetupPackage package;
    const setups::SetupStore store(context.workingFolder);
    if (!store.load(setupFile, package.setup)) {
        package.title = "Server Setup Not Readable";
        package.message = "The server setup file \"" + setupFile +
                          "\" could not be read. It may have been changed "
                          "or removed since the list was made.";
        return package;
    }
    const core::ManagerSettings& s = context.settings;
    setups::GeneratorSettings settings{joinPath(context.workingFolder, "ConfigurationTemplate.ini"),
                                       context.documentsFolder,
                                       s.serverLocation,
                                       {s.authServerUserName, s.authServerPassword, s.authServerIP}};
    const setups::ConfigGenerator generator(std::move(settings), maps);
    package.folder = generator.outputFolder();
    const setups::GenerateResult result = generator.generate(package.setup);
    package.ok = result.ok;
    package.title = result.title;
    package.message = result.message;
    if (result.ok)
        package.localCommand = generator.localStartCommand(package.setup);
    return package;
}

} // namespace kv::manager::local
