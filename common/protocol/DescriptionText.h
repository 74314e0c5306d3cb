#pragma once

#include <string>
#include <string_view>

namespace kv::protocol {

// Collects the description lines of a configuration upload until the line that is exactly "[EndDescription]"
// (letter case included; a line that merely begins with it is description text). Each line is stored followed by
// "0xA", the stored form of a line break in a control file.
class DescriptionCollector {
public:
    // Takes one line; true when it was the end line (which is not stored).
    bool add(std::string_view line);
    const std::string& stored() const { return stored_; }

private:
    std::string stored_;
};

// The stored form of a control file's description with its "0xA" turned back into line feeds.
std::string descriptionFromStored(std::string_view stored);

} // namespace kv::protocol
