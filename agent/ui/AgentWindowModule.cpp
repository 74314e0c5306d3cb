// The entry point of kvagent-ui.so: the window over the core, with the remote request service beside it.
#include "agent/ui/AgentWindowModule.h"

#include "agent/service/AgentRemoteService.h"
#include "agent/ui/AgentWindowApp.h"

#include <cstdio>
#include <exception>

extern "C" __attribute__((visibility("default"))) int kvagent_window_main(const KvAgentWindowStart* start) noexcept {
    using namespace kv::agent;
    if (!start || start->version != KVAGENT_WINDOW_MODULE_VERSION || !start->argc || !start->env || !start->settings) {
        std::fprintf(stderr, "kvagent: %s does not match this kvagent; install both from the same build\n",
                     ui::kWindowModuleFile);
        return 2;
    }
    try {
        return ui::runAgentWindow(
            *start->argc, start->argv, *start->env, *start->settings, start->settingsFound != 0,
            [](Agent& agent) { return std::shared_ptr<void>(service::AgentRemoteService::startFor(agent)); });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kvagent: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "kvagent: the window ended on an unknown error\n");
    }
    return 1;
}
