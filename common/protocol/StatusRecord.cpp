#include "common/protocol/StatusRecord.h"

#include "common/Format.h"
#include "common/protocol/ProtocolWords.h"

namespace kv::protocol {

namespace {
void appendField(std::string& out, const char* key, const std::string& value) {
    out += key;
    out += value;
    out += '\n';
}
} // namespace

std::string formatStatusRecord(const StatusRecord& record) {
    std::string out;
    appendField(out, "Status=", record.status);
    appendField(out, "MapFile=", record.mapFile);
    appendField(out, "SetupName=", record.setupName);
    appendField(out, "GameAdminPassword=", record.gameAdminPassword);
    appendField(out, "GamePlayerPassword=", record.gamePlayerPassword);
    appendFormat(out, "TotalUpTime=%ld\n", static_cast<long>(record.totalUpTimeMinutes));
    appendFormat(out, "ServerCrashes=%d\n", record.serverCrashes);
    appendFormat(out, "CurrentRAMUsage=%ld\n", static_cast<long>(record.currentRamKiB));
    appendFormat(out, "PeakRAMUsage=%ld\n", static_cast<long>(record.peakRamKiB));
    appendFormat(out, "CurrentPageFileUsage=%ld\n", static_cast<long>(record.currentPageFileKiB));
    appendFormat(out, "PeakPageFileUsage=%ld\n", static_cast<long>(record.peakPageFileKiB));
    out += kStartOfDescription;
    out += '\n';
    out += record.description;
    out += '\n';
    out += kEndOfDescription;
    out += '\n';
    out += kEndOfServerStatus;
    out += '\n';
    return out;
}

} // namespace kv::protocol
