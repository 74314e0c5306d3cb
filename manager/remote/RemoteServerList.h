#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::remote {

// The administrator's list of remote hosts, one "Server=name,address,admin,password" line each, in the manager's
// working folder. The password is kept in plain text, so the file is written with mode 0600.
inline constexpr std::string_view kRemoteServerListFile = "RemoteServerConfig.ini";

struct RemoteServerEntry {
    std::string serverName;
    std::string address;
    std::string adminName;
    std::string password;

    bool operator==(const RemoteServerEntry&) const = default;
};

// Bounds that keep a damaged or planted file from costing more than a glance.
inline constexpr std::size_t kMaxRemoteServerListBytes = 256 * 1024;
inline constexpr std::size_t kMaxRemoteServerLineBytes = 8191;
inline constexpr std::size_t kMaxRemoteServerEntries = 1000;

// The entries of the file's bytes in file order. Only the line end ("\n" or "\r\n") is taken off a line. Lines that
// do not start with "Server=" (any letter case) are skipped; consecutive commas count as one separator; control
// characters are dropped from every field; an over-long line is cut at the bound.
std::vector<RemoteServerEntry> parseRemoteServerList(std::string_view bytes);

// The file's bytes for `entries`, one line each in the order given.
std::string formatRemoteServerList(const std::vector<RemoteServerEntry>& entries);

// Whether a field can be written and read back unchanged: not empty, no comma, no control character (a line break
// would end the line, a comma the field, and an empty field would shift the ones after it).
bool isStorableField(std::string_view field);

// Reads <workingFolder>/RemoteServerConfig.ini in file order; a missing or unreadable file gives no entries. Only
// the first kMaxRemoteServerListBytes are looked at.
std::vector<RemoteServerEntry> readRemoteServerList(const std::string& workingFolder);

// Replaces <workingFolder>/RemoteServerConfig.ini as a whole (mode 0600); false leaves the old file as it was.
bool writeRemoteServerList(const std::string& workingFolder, const std::vector<RemoteServerEntry>& entries);

// The list as the Manage Remote Servers window shows it: each entry read is put at the top, so the rows come in the
// reverse order of the file, and saving writes them from the top down. Every open and close of the window therefore
// reverses the file's order, as administrators of the earlier program know it.
std::vector<RemoteServerEntry> loadRemoteServerRows(const std::string& workingFolder);
bool saveRemoteServerRows(const std::string& workingFolder, const std::vector<RemoteServerEntry>& rows);

} // namespace kv::remote
