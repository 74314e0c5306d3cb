#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv::protocol {

// What a configuration upload may send as its description: more is refused, and the session ends, so that a
// client cannot make the agent hold or wait for an endless description.
constexpr std::size_t kMaxDescriptionBytes = 64 * 1024;
constexpr std::size_t kMaxDescriptionLines = 1000;

// Collects the description lines of a configuration upload until the line that is exactly "[EndDescription]"
// (letter case included; a line that merely begins with it is description text). Each line is stored followed by
// "0xA", the stored form of a line break in a control file. The stored form is kept within `storedLimit` bytes
// (what the control file's readers take on one line; the rest is dropped) and control characters become blanks,
// so that it can never reach past its own line.
class DescriptionCollector {
public:
    explicit DescriptionCollector(std::size_t storedLimit = std::string::npos) : limit_(storedLimit) {}

    // Takes one line; true when it was the end line (which is not stored).
    bool add(std::string_view line);
    // More lines or bytes came than a description may have.
    bool overLimit() const { return lines_ > kMaxDescriptionLines || bytes_ > kMaxDescriptionBytes; }
    const std::string& stored() const { return stored_; }

private:
    void append(std::string_view text);

    std::size_t limit_;
    std::size_t lines_ = 0;
    std::size_t bytes_ = 0;
    bool full_ = false;
    std::string stored_;
};

// The stored form of a control file's description with its "0xA" turned back into line feeds.
std::string descriptionFromStored(std::string_view stored);

} // namespace kv::protocol
