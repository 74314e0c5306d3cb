#include "common/protocol/ListRecords.h"

#include "common/DecimalNumber.h"
#include "common/Format.h"
#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

namespace kv::protocol {

namespace {
std::string joined(std::string_view a, std::string_view tail) {
    std::string line(a);
    line.append(tail);
    return line;
}
} // namespace

std::string formatConfigurationRecord(std::string_view name, std::string_view map, std::string_view runMode,
                                      std::int64_t lastWrite) {
    std::string line(name);
    line += ',';
    line.append(map);
    line += ',';
    line.append(runMode);
    appendFormat(line, ",%ld\n", static_cast<long>(lastWrite));
    return line;
}

std::string formatFileRecord(std::string_view name, std::int64_t lastWrite, std::int64_t size) {
    return joined(name, format(",%ld,%d\n", static_cast<long>(lastWrite), static_cast<std::int32_t>(size)));
}

std::string formatScreenshotRecord(std::string_view name, std::int64_t lastWrite, std::int64_t size) {
    return joined(name, format(",%ld,%ld\n", static_cast<long>(lastWrite), static_cast<long>(size)));
}

bool isEndOfList(std::string_view line) {
    return line.empty() || equalsNoCase(line, kEndOfList);
}

std::optional<ConfigurationRecord> parseConfigurationRecord(std::string_view line) {
    std::vector<std::string> fields = splitCommas(line);
    if (fields.size() < 2)
        return std::nullopt;
    ConfigurationRecord record;
    record.lastWrite = parseDecimalLong(fields.back());
    fields.pop_back();
    record.name = fields[0];
    if (fields.size() > 1)
        record.map = fields[1];
    if (fields.size() > 2)
        record.runMode = fields[2];
    return record;
}

std::optional<FileRecord> parseFileRecord(std::string_view line) {
    std::vector<std::string> fields = splitCommas(line);
    if (fields.size() != 3)
        return std::nullopt;
    return FileRecord{fields[0], parseDecimalLong(fields[1]), parseDecimalLong(fields[2])};
}

} // namespace kv::protocol
