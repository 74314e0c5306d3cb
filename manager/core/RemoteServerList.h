#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::core {

// The administrator's list of remote hosts, one "Server=name,address,admin,password" line each.
inline constexpr std::string_view kRemoteServerListFile = "RemoteServerConfig.ini";

struct RemoteServerEntry {
    std::string serverName;
    std::string address;
    std::string adminName;
    std::string password;
};

// Bounds that keep a damaged or planted file from costing more than a glance.
inline constexpr std::size_t kMaxRemoteServerListBytes = 256 * 1024;
inline constexpr std::size_t kMaxRemoteServerLineBytes = 8191;
inline constexpr std::size_t kMaxRemoteServerEntries = 1000;

// The entries of the file's bytes in file order. Lines that do not start with "Server=" (any letter case) are
// skipped; consecutive commas count as one separator; control characters are dropped from every field; an
// over-long line is cut at the bound.
std::vector<RemoteServerEntry> parseRemoteServerList(std::string_view bytes);

// Reads <workingFolder>/RemoteServerConfig.ini; a missing or unreadable file gives no entries. Only the first
// kMaxRemoteServerListBytes are looked at.
std::vector<RemoteServerEntry> readRemoteServerList(const std::string& workingFolder);

} // namespace kv::core
