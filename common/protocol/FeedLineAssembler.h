#pragma once

#include <string>

namespace kv::protocol {

// Client side: builds monitor feed lines from the bytes as they arrive. A line feed ends a line, carriage returns
// and tabs are dropped, and a line that would grow past 16383 characters ends the feed.
class FeedLineAssembler {
public:
    enum class Step {
        More,    // keep reading
        Line,    // a complete line is ready in line()
        TooLong, // the feed must end; the partial line is thrown away
    };

    Step add(char byte);
    // The complete line after Step::Line; the next add() starts a new one.
    const std::string& line() const { return line_; }

private:
    std::string line_;
    bool complete_ = false;
};

} // namespace kv::protocol
