// Feeds arbitrary bytes to the status reply parser, alone, grown past 64 KiB, and behind a huge player count: at most
// 64 players, each with a name, in reply order; only designed keys; values without separators; and the table
// written back as a reply parses to the same status.
#include "manager/core/StatusReply.h"
#include "manager/core/StatusSummary.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kv::core;

namespace {

void check(std::string_view reply) {
    const ServerStatus status = parseStatusReply(reply);
    if (status.players().size() > static_cast<std::size_t>(kStatusPlayerLimit))
        __builtin_trap();
    int previous = -1;
    std::string rewritten;
    for (const auto& [key, value] : status.keys()) {
        const std::string_view name = key;
        const auto designed = std::find_if(statusKeys().begin(), statusKeys().end(),
                                           [&](const StatusKey& k) { return k.displayKey == name; });
        if (designed == statusKeys().end() || value.find('\\') != std::string::npos)
            __builtin_trap();
        rewritten += "\\" + std::string(designed->replyKey) + "\\" + value;
    }
    for (const StatusPlayer& player : status.players()) {
        if (player.number <= previous || player.number >= status.playerCount() || player.value("Name").empty())
            __builtin_trap();
        previous = player.number;
        for (const StatusKey& key : statusPlayerKeys())
            if (auto found = player.values.find(key.displayKey); found != player.values.end())
                rewritten +=
                    "\\" + std::string(key.replyKey) + "_" + std::to_string(player.number) + "\\" + found->second;
    }
    rewritten += "\\final\\";
    if (!statusReplyComplete(rewritten))
        __builtin_trap();
    // Keys that the reply lacked come back empty; all else must survive.
    const ServerStatus again = parseStatusReply(rewritten);
    if (again.players() != status.players())
        __builtin_trap();
    for (const auto& [key, value] : status.keys())
        if (again.value(key) != value)
            __builtin_trap();
    const std::string summary = statusSummary(status);
    if (std::count(summary.begin(), summary.end(), '\n') < 7)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check(bytes);
    if (size == 0)
        return 0;
    std::string grown;
    while (grown.size() <= 64 * 1024)
        grown.append(bytes);
    check(grown);
    check("\\numplayers\\1000000000\\" + std::string(bytes));
    return 0;
}
