#include "common/protocol/FeedLine.h"

#include "common/Format.h"

namespace kv::protocol {

std::string formatFeedLine(const LocalTime& time, std::optional<long> memoryKiB, std::string_view text) {
    std::string memory = memoryKiB ? format(" (%ldK)", *memoryKiB) : std::string();
    std::string line = format("%d/%d/%d-%d:%2.2d:%2.2d%s - ", time.month, time.day, time.year, time.hour, time.minute,
                              time.second, memory.c_str());
    line.append(text);
    line.push_back('\n');
    return line;
}

std::string formatFeedNotice(const LocalTime& time, std::string_view text) {
    std::string line =
        format("%d/%d/%d %d:%2.2d:%2.2d - ", time.month, time.day, time.year, time.hour, time.minute, time.second);
    line.append(text);
    return line;
}

} // namespace kv::protocol
