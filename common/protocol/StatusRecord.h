#pragma once

#include <cstdint>
#include <string>

namespace kv::protocol {

// The reply to "GetStatus". The description carries real line feeds.
struct StatusRecord {
    std::string status;
    std::string mapFile;
    std::string setupName;
    std::string gameAdminPassword;
    std::string gamePlayerPassword;
    std::string description;
    std::uint32_t totalUpTimeMinutes = 0;
    int serverCrashes = 0;
    std::int32_t currentRamKiB = 0;
    std::int32_t peakRamKiB = 0;
    std::int32_t currentPageFileKiB = 0;
    std::int32_t peakPageFileKiB = 0;
};

// Agent side: the whole record, "Status=" to "[EndOfServerStatus]", each line ended by a line feed.
std::string formatStatusRecord(const StatusRecord& record);

} // namespace kv::protocol
