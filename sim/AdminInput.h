#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv::sim {

// Splits what an admin connection sends into commands. A command ends with a carriage return (the agent sends the
// 9 bytes "SHUTDOWN\r") or a line feed; empty commands are skipped. A command that grows past the bound without an
// end marks the connection as overflowed, and the server drops it.
class AdminInput {
public:
    static constexpr std::size_t kMaxCommand = 1024;

    std::vector<std::string> feed(std::string_view bytes);
    bool overflowed() const { return overflowed_; }

private:
    std::string partial_;
    bool overflowed_ = false;
};

// A command as it may be shown in the output: printable characters only, at most 60 of them.
std::string printableCommand(std::string_view command);

} // namespace kv::sim
