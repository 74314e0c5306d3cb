// Settings and control files are hand-edited on hosts: any bytes must parse without harm, and what the agent writes
// back must read back the same.
#include "agent/ControlFile.h"
#include "agent/SettingsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    kv::agent::AgentSettings settings = kv::agent::AgentSettings::defaults();
    kv::agent::settings_file::parse(text, settings);
    // Values holding line breaks cannot survive a line-oriented file; everything else must.
    auto clean = [](const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; };
    if (clean(settings.serverIp) && clean(settings.md5Password) && clean(settings.adminName) &&
        clean(settings.honorServerUserName) && clean(settings.honorServerPassword) &&
        clean(settings.honorServerIp) && clean(settings.activeControlFile) && clean(settings.gameServerPath) &&
        settings.serverIp.size() < 400 && settings.adminName.size() < 400 && settings.md5Password.size() < 400 &&
        settings.honorServerUserName.size() < 400 && settings.honorServerPassword.size() < 400 &&
        settings.honorServerIp.size() < 400 && settings.activeControlFile.size() < 400 &&
        settings.gameServerPath.size() < 400) {
        kv::agent::AgentSettings back = kv::agent::AgentSettings::defaults();
        kv::agent::settings_file::parse(kv::agent::settings_file::render(settings), back);
        if (!(back == settings))
            std::abort();
    }
    kv::agent::ActiveConfiguration config;
    kv::agent::control_file::parse(text, config);
    return 0;
}
