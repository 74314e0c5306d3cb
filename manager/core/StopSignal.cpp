#include "manager/core/StopSignal.h"

#include <algorithm>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>

namespace kv::core {

namespace {

constexpr std::chrono::milliseconds kFallbackStep{20};

} // namespace

StopSignal::StopSignal() : event_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void StopSignal::raise() noexcept {
    raised_.store(true);
    if (event_.valid()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(event_.get(), &one, sizeof one);
    }
}

bool StopSignal::wait(std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!raised()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        if (event_.valid()) {
            pollfd p{event_.get(), POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(left.count()));
        } else {
            ::poll(nullptr, 0, static_cast<int>(std::min(left, kFallbackStep).count()));
        }
    }
    return true;
}

} // namespace kv::core
