#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Turns the bytes of a game server's output into lines: a line feed ends a line, tab and carriage return bytes are
// dropped. A line is never longer than kMaxLine characters; what happens at that length is the owner's choice.
class OutputLineSplitter {
public:
    static constexpr std::size_t kMaxLine = 16383;

    enum class LongLines {
        EndCapture, // the line and everything after it are ignored (the agent, as its logs have always been)
        Split,      // the first kMaxLine characters make a line and the rest goes on as the next one
    };

    explicit OutputLineSplitter(LongLines policy) : policy_(policy) {}

    // Appends the lines that `data` completes to `out`. The views point into `data` or into this splitter and stay
    // valid until the next call.
    void split(std::string_view data, std::vector<std::string_view>& out);

    // True once a line reached kMaxLine under EndCapture: split() then gives nothing more.
    bool ended() const { return ended_; }

private:
    void complete(std::vector<std::string_view>& out);

    LongLines policy_;
    std::string current_;          // the line being put together across reads
    std::deque<std::string> held_; // completed lines that are not views into the caller's data
    bool ended_ = false;
    bool afterCut_ = false; // a line was just cut; a line feed right after it ends nothing
};

} // namespace kv
