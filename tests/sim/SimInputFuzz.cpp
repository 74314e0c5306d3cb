// Everything the simulator reads from outside (its ini, kvsim.conf, command line, admin connections, datagrams)
// goes through these parsers; none may crash, and the admin commands keep their bounds.
#include "common/CommandLine.h"
#include "sim/AdminInput.h"
#include "sim/GameIni.h"
#include "sim/SimCommandLine.h"
#include "sim/SimSettings.h"
#include "sim/StatusReply.h"

#include <cstdint>
#include <cstdlib>

using namespace kv::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    GameIni ini = parseGameIni(text);
    if (ini.maxPlayers < 0 || ini.maxPlayers > 64 || ini.roundsPerMatch < 1 || ini.gamePort < 1 ||
        ini.gamePort > 65535)
        std::abort();

    SimSettings settings;
    std::vector<std::string> warnings;
    applyKnobs(settings, parseKnobFile(text), warnings);
    if (settings.adminPort < 1 || settings.adminPort > 65535 || settings.players < 0 || settings.players > 64)
        std::abort();

    SimCommandLine line = parseSimCommandLine(kv::splitCommandLine(text));
    if (line.error.empty() == line.map.empty() && !line.help)
        std::abort();

    AdminInput input;
    for (std::size_t at = 0; at < text.size(); at += 7) {
        for (const std::string& command : input.feed(text.substr(at, 7)))
            if (command.empty() || command.size() > AdminInput::kMaxCommand ||
                command.find_first_of("\r\n") != std::string::npos)
                std::abort();
    }
    (void)isStatusRequest(text);
    return 0;
}
