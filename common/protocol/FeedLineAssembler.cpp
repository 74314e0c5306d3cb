#include "common/protocol/FeedLineAssembler.h"

#include "common/protocol/ProtocolWords.h"

namespace kv::protocol {

FeedLineAssembler::Step FeedLineAssembler::add(char byte) {
    if (complete_) {
        line_.clear();
        complete_ = false;
    }
    switch (byte) {
    case '\n':
        complete_ = true;
        return Step::Line;
    case '\r':
    case '\t':
        return Step::More;
    default:
        if (line_.size() >= static_cast<std::size_t>(kFeedLineLimit)) {
            line_.clear();
            return Step::TooLong;
        }
        line_.push_back(byte);
        return Step::More;
    }
}

} // namespace kv::protocol
