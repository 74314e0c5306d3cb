#include "manager/remote/RemoteServerList.h"

#include "common/AtomicFile.h"
#include "common/Files.h"

#include <algorithm>
#include <fstream>

namespace kv::remote {

namespace {

bool startsWithServerKey(std::string_view line) {
    constexpr std::string_view key = "server=";
    if (line.size() < key.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != key[i])
            return false;
    }
    return true;
}

std::vector<std::string> splitFields(std::string_view rest) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : rest) {
        if (c == ',') {
            if (!field.empty())
                fields.push_back(std::move(field));
            field.clear();
        } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            field.push_back(c);
        }
    }
    if (!field.empty())
        fields.push_back(std::move(field));
    return fields;
}

} // namespace

std::vector<RemoteServerEntry> parseRemoteServerList(std::string_view bytes) {
    std::vector<RemoteServerEntry> entries;
    while (!bytes.empty() && entries.size() < kMaxRemoteServerEntries) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > kMaxRemoteServerLineBytes)
            line = line.substr(0, kMaxRemoteServerLineBytes);
        if (!startsWithServerKey(line))
            continue;
        std::vector<std::string> fields = splitFields(line.substr(7));
        fields.resize(4);
        entries.push_back({std::move(fields[0]), std::move(fields[1]), std::move(fields[2]), std::move(fields[3])});
    }
    return entries;
}

std::vector<RemoteServerEntry> readRemoteServerList(const std::string& workingFolder) {
    std::ifstream in(joinPath(workingFolder, std::string(kRemoteServerListFile)), std::ios::binary);
    if (!in)
        return {};
    std::string bytes(kMaxRemoteServerListBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parseRemoteServerList(bytes);
}

std::string formatRemoteServerList(const std::vector<RemoteServerEntry>& entries) {
    std::string bytes;
    for (const RemoteServerEntry& e : entries)
        bytes += "Server=" + e.serverName + "," + e.address + "," + e.adminName + "," + e.password + "\n";
    return bytes;
}

bool isStorableField(std::string_view field) {
    return !field.empty() && std::none_of(field.begin(), field.end(), [](char c) {
        return c == ',' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

bool writeRemoteServerList(const std::string& workingFolder, const std::vector<RemoteServerEntry>& entries) {
    return writeFileAtomically(joinPath(workingFolder, std::string(kRemoteServerListFile)),
                               formatRemoteServerList(entries), nullptr, FlushToDisk::Yes, FileAccess::OwnerOnly);
}

std::vector<RemoteServerEntry> loadRemoteServerRows(const std::string& workingFolder) {
    std::vector<RemoteServerEntry> rows = readRemoteServerList(workingFolder);
    std::reverse(rows.begin(), rows.end());
    return rows;
}

bool saveRemoteServerRows(const std::string& workingFolder, const std::vector<RemoteServerEntry>& rows) {
    return writeRemoteServerList(workingFolder, rows);
}

} // namespace kv::remote
