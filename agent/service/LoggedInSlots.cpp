#include "agent/service/LoggedInSlots.h"

namespace kv::agent::service {

bool LoggedInSlots::take() {
    std::lock_guard lock(mutex_);
    if (taken_ >= places_)
        return false;
    ++taken_;
    return true;
}

void LoggedInSlots::give() {
    std::lock_guard lock(mutex_);
    if (taken_ > 0)
        --taken_;
}

std::size_t LoggedInSlots::taken() const {
    std::lock_guard lock(mutex_);
    return taken_;
}

} // namespace kv::agent::service
