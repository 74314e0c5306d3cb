#pragma once

#include "client/RemoteControlLibrary.h"

#include <cstdint>
#include <iosfwd>
#include <string>

namespace kv::cli {

struct RemoteRequest;

// What "ban" and "unban" take: the type and value of the entry, and for "ban" its end and player name.
struct BanRequest {
    std::string type; // NAME, IP or MAC
    std::string value;
    std::int32_t endTime = 0; // 0: permanent
    std::string playerName;
};

// Checks "ban"/"unban" TYPE VALUE and the options --until YYYY-MM-DD and --player NAME; a message for the user when
// something is wrong.
std::string checkBanArguments(const std::string& command, const std::string& type, const std::string& value,
                              const std::string* until, const std::string* player, BanRequest& request);

// A result of the commands below: failed, and the reason is already on standard error.
inline constexpr int kFailureTold = -1;

// "bans", "ban" and "unban" with the manager's file model: the host's list is fetched into "BanFile<host>.txt" in the
// current folder (the earlier copy moved aside to ".old" first), changed there, recorded in "MasterBanList.txt" and
// sent back. Non-zero when done, as the library reports its calls.
int listBans(RemoteControlLibrary& library, KvsmRemoteObject* object, const RemoteRequest& request, std::ostream& out,
             std::ostream& err);
int changeBans(RemoteControlLibrary& library, KvsmRemoteObject* object, const RemoteRequest& request, std::ostream& out,
               std::ostream& err);

} // namespace kv::cli
