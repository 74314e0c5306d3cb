#include "common/protocol/StatusRecordParser.h"

#include "common/DecimalNumber.h"
#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

namespace kv::protocol {

namespace {
// The value after `key` when the line begins with it.
bool take(std::string_view line, std::string_view key, std::string_view& value) {
    if (!startsWithNoCase(line, key))
        return false;
    value = line.substr(key.size());
    return true;
}
} // namespace

bool StatusRecordParser::add(std::string_view line) {
    if (finished_)
        return true;
    if (inDescription_) {
        if (startsWithNoCase(line, kEndOfDescription)) {
            inDescription_ = false;
        } else {
            record_.description.append(line);
            record_.description.push_back('\n');
        }
        return false;
    }
    std::string_view value;
    if (startsWithNoCase(line, kEndOfServerStatus)) {
        finished_ = true;
    } else if (startsWithNoCase(line, kStartOfDescription)) {
        inDescription_ = true;
        record_.description.clear();
    } else if (take(line, "Status=", value)) {
        record_.status = value;
    } else if (take(line, "MapFile=", value)) {
        record_.mapFile = value;
    } else if (take(line, "SetupName=", value)) {
        record_.setupName = value;
    } else if (take(line, "GameAdminPassword=", value)) {
        record_.gameAdminPassword = value;
    } else if (take(line, "GamePlayerPassword=", value)) {
        record_.gamePlayerPassword = value;
    } else if (take(line, "TotalUpTime=", value)) {
        record_.totalUpTimeMinutes = static_cast<std::uint32_t>(parseDecimalLong(value));
    } else if (take(line, "ServerCrashes=", value)) {
        record_.serverCrashes = parseDecimalInt(value);
    } else if (take(line, "CurrentRAMUsage=", value)) {
        record_.currentRamKiB = parseDecimalInt(value);
    } else if (take(line, "PeakRAMUsage=", value)) {
        record_.peakRamKiB = parseDecimalInt(value);
    }
    return finished_;
}

} // namespace kv::protocol
