#include "agent/CrashBackoff.h"

#include <algorithm>

namespace kv::agent {

std::int64_t CrashBackoff::crashed(std::int64_t ranSeconds) {
    quick_ = ranSeconds < kQuickRunSeconds ? quick_ + 1 : 1;
    if (quick_ <= 1) {
        wait_ = 0;
        return wait_;
    }
    // Doubling stops at the cap long before the shift could overflow.
    const int doublings = std::min(quick_ - 2, 16);
    wait_ = std::min(kFirstWaitSeconds << doublings, kLongestWaitSeconds);
    return wait_;
}

} // namespace kv::agent
