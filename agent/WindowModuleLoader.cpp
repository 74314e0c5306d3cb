#include "agent/WindowModuleLoader.h"

#include "common/InstallLayout.h"

#include <cstdio>
#include <dlfcn.h>
#include <vector>

namespace kv::agent {

int runWindowModule(const std::string& programFolder, const KvAgentWindowStart& start) {
    const std::vector<std::string> candidates = companionCandidates(programFolder, ui::kWindowModuleFile);
    const std::string path = firstExistingFile(candidates);
    if (path.empty()) {
        std::string tried;
        for (const std::string& candidate : candidates)
            tried += "\n  " + candidate;
        std::fprintf(stderr,
                     "kvagent: the window module %s was not found; looked for:%s\n"
                     "Install it with kvagent, or run the agent without a window: kvagent --headless\n",
                     ui::kWindowModuleFile, tried.empty() ? " (the program's folder is unknown)" : tried.c_str());
        return 2;
    }
    // An absolute path: dlopen never searches the system's folders for it.
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = ::dlerror();
        std::fprintf(stderr,
                     "kvagent: cannot load the window module %s: %s\n"
                     "Reinstall it with kvagent, or run the agent without a window: kvagent --headless\n",
                     path.c_str(), reason ? reason : "unknown reason");
        return 2;
    }
    auto entry = reinterpret_cast<KvAgentWindowMainFn>(::dlsym(module, ui::kWindowModuleEntry));
    if (!entry) {
        std::fprintf(stderr, "kvagent: %s lacks its entry point %s; install it from the same build as kvagent\n",
                     path.c_str(), ui::kWindowModuleEntry);
        return 2;
    }
    return entry(&start);
}

} // namespace kv::agent
