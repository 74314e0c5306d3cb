#include "common/protocol/DescriptionText.h"

#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

#include <algorithm>

namespace kv::protocol {

bool DescriptionCollector::add(std::string_view line) {
    if (line == kEndDescription)
        return true;
    ++lines_;
    bytes_ += line.size() + 1;
    std::string clean(line);
    std::replace_if(clean.begin(), clean.end(), isControlCharacter, ' ');
    append(clean);
    append(kStoredLineBreak);
    return false;
}

void DescriptionCollector::append(std::string_view text) {
    if (full_)
        return;
    if (stored_.size() + text.size() <= limit_) {
        stored_.append(text);
        return;
    }
    // Cut, but not inside a UTF-8 sequence nor a stored line break: the reader would show a broken character.
    full_ = true;
    if (text == kStoredLineBreak)
        return;
    std::size_t room = limit_ - stored_.size();
    while (room > 0 && (static_cast<unsigned char>(text[room]) & 0xC0) == 0x80)
        --room;
    stored_.append(text.substr(0, room));
}

std::string descriptionFromStored(std::string_view stored) {
    return replaceAll(stored, kStoredLineBreak, "\n");
}

} // namespace kv::protocol
