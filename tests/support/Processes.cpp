#include "tests/support/Processes.h"

#include "common/Files.h"

#include <cerrno>
#include <csignal>
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

} // namespace kv::test
