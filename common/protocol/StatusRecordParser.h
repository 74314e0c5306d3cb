#pragma once

#include "common/protocol/StatusRecord.h"

#include <string_view>

namespace kv::protocol {

// Client side: reads a status record line by line into a record whose fields start as the caller's outputs, so
// that a field that never comes keeps its value. Keys are matched at the start of a line in any letter case and
// numbers follow the decimal-number rule; unknown lines (the page-file lines among them) are ignored. Between
// "[StartOfDescription]" and "[EndOfDescription]" every line goes to the description followed by a line feed.
class StatusRecordParser {
public:
    explicit StatusRecordParser(StatusRecord& record) : record_(record) {}

    // Takes one line; true once "[EndOfServerStatus]" has been seen.
    bool add(std::string_view line);
    bool finished() const { return finished_; }

private:
    StatusRecord& record_;
    bool inDescription_ = false;
    bool finished_ = false;
};

} // namespace kv::protocol
