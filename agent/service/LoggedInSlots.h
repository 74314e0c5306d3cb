#pragma once

#include <cstddef>
#include <mutex>

namespace kv::agent::service {

// Places for logged-in sessions, shared by the sessions of a listener. Kept apart from the places of connections
// that have not logged in yet, so that those can never take the administrator's place.
class LoggedInSlots {
public:
    explicit LoggedInSlots(std::size_t places) : places_(places) {}
    LoggedInSlots(const LoggedInSlots&) = delete;
    LoggedInSlots& operator=(const LoggedInSlots&) = delete;

    // False when every place is taken.
    bool take();
    void give();
    std::size_t taken() const;

private:
    mutable std::mutex mutex_;
    std::size_t places_;
    std::size_t taken_ = 0;
};

} // namespace kv::agent::service
