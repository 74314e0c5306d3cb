#include "sim/AdminInput.h"

namespace kv::sim {

std::vector<std::string> AdminInput::feed(std::string_view bytes) {
    std::vector<std::string> commands;
    for (char c : bytes) {
        if (overflowed_)
            break;
        if (c == '\r' || c == '\n') {
            if (!partial_.empty())
                commands.push_back(std::move(partial_));
            partial_.clear();
        } else if (partial_.size() >= kMaxCommand) {
            overflowed_ = true;
        } else {
            partial_ += c;
        }
    }
    return commands;
}

std::string printableCommand(std::string_view command) {
    std::string text;
    for (char c : command.substr(0, 60))
        text += (c >= 0x20 && c < 0x7f) ? c : '?';
    if (command.size() > 60)
        text += "...";
    return text;
}

} // namespace kv::sim
