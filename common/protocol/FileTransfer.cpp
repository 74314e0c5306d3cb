#include "common/protocol/FileTransfer.h"

#include "common/DecimalNumber.h"
#include "common/Format.h"
#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

#include <algorithm>

namespace kv::protocol {

std::string formatSizeLine(std::int64_t size) {
    return format("%d\n", static_cast<std::int32_t>(static_cast<std::uint32_t>(size & 0xffffffff)));
}

std::optional<std::int64_t> parseSizeLine(std::string_view line) {
    long long size = parseDecimalLong(line);
    if (size < 0)
        return std::nullopt;
    return size;
}

int nextBlockSize(std::int64_t size, std::int64_t moved) {
    return static_cast<int>(std::clamp<std::int64_t>(size - moved, 0, kBlockSize));
}

bool isEndMarker(std::string_view line, std::string_view marker) {
    return startsWithNoCase(line, marker);
}

bool isMarker(std::string_view line, std::string_view marker) {
    return equalsNoCase(line, marker);
}

} // namespace kv::protocol
