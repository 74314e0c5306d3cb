#include "common/protocol/OptionFileCopy.h"

namespace kv::protocol {

std::string optionFileCopyName(std::string_view address, std::string_view optionFile) {
    std::string name;
    for (char c : address.substr(0, kMaxCopyAddress)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                           c == '_' || c == '-';
        name += plain ? c : '_';
    }
    name += '-';
    name.append(optionFile);
    return name;
}

} // namespace kv::protocol
