#include "tests/support/WaitUntil.h"

#include <thread>

namespace kv::test {

bool waitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
}

} // namespace kv::test
