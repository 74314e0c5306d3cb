#include "tests/support/Processes.h"

#include "common/Files.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>

namespace kv::test {

bool processGone(pid_t pid) {
    if (::kill(pid, 0) != 0)
        return errno == ESRCH;
    auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat)
        return true;
    auto close = stat->rfind(')');
    return close != std::string::npos && stat->compare(close + 1, 3, " Z ") == 0;
}

std::vector<pid_t> childrenOf(pid_t parent) {
    std::vector<pid_t> children;
    for (const auto& name : listDirectory("/proc")) {
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        auto stat = readFile("/proc/" + name + "/stat");
        auto close = stat ? stat->rfind(')') : std::string::npos;
        // After the name: " S PPID ..."
        if (close != std::string::npos && close + 4 < stat->size() &&
            std::atol(stat->c_str() + close + 4) == static_cast<long>(parent))
            children.push_back(static_cast<pid_t>(std::atol(name.c_str())));
    }
    return children;
}

} // namespace kv::test
