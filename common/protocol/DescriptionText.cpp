#include "common/protocol/DescriptionText.h"

#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

namespace kv::protocol {

bool DescriptionCollector::add(std::string_view line) {
    if (line == kEndDescription)
        return true;
    stored_.append(line);
    stored_.append(kStoredLineBreak);
    return false;
}

std::string descriptionFromStored(std::string_view stored) {
    return replaceAll(stored, kStoredLineBreak, "\n");
}

} // namespace kv::protocol
