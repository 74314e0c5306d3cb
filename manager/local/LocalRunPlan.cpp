#include "manager/local/LocalRunPlan.h"

#include "manager/local/SetupPackage.h"

#include "common/CommandLine.h"
#include "manager/core/ManagerContext.h"

namespace kv::manager::local {

LocalRunPlan LocalRunPlan::make(const core::ManagerContext& context, const setups::MapTable& maps,
                                const std::string& setupFile) {
    LocalRunPlan plan;
    const std::string& folder = context.settings.serverLocation;
    if (folder.empty()) {
        plan.title = "Unable To Start Server";
        plan.message = "The folder of the Korvane server program is not known: no game installation was found. "
                       "Choose the folder in Options, Preferences.";
        return plan;
    }
    SetupPackage package = SetupPackage::generate(context, maps, setupFile);
    if (!package.ok) {
        plan.title = std::move(package.title);
        plan.message = std::move(package.message);
        return plan;
    }
    plan.ok = true;
    plan.request.setupName = package.setup.m_csName;
    plan.request.arguments = splitCommandLine(package.localCommand);
    plan.request.folder = folder;
    return plan;
}

} // namespace kv::manager::local
