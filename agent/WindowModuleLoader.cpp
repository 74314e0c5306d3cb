#include "agent/WindowModuleLoader.h"

#include "common/Files.h"

#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

namespace kv::agent {

std::string runningProgramFolder() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    const std::string folder(dirName(std::string_view(path, static_cast<std::size_t>(n))));
    return folder.empty() ? "/" : folder;
}

int runWindowModule(const std::string& programFolder, const KvAgentWindowStart& start) {
    const std::string path = joinPath(programFolder, ui::kWindowModuleFile);
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = ::dlerror();
        std::fprintf(stderr,
                     "kvagent: cannot load the window module %s: %s\n"
                     "Install it beside kvagent, or run the agent without a window: kvagent --headless\n",
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
