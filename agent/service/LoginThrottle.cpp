#include "agent/service/LoginThrottle.h"

#include <algorithm>
#include <limits>

namespace kv::agent::service {

LoginThrottle::LoginThrottle(Options options, Now now) : options_(options), now_(std::move(now)) {
    if (!now_)
        now_ = [] { return std::chrono::steady_clock::now(); };
}

std::chrono::milliseconds LoginThrottle::delayAfter(unsigned failures) const {
    if (failures < options_.freeFailures)
        return std::chrono::milliseconds(0);
    std::chrono::milliseconds delay = options_.firstDelay;
    // Doubling stops at the cap, so no count can overflow it.
    for (unsigned i = options_.freeFailures; i < failures && delay < options_.maxDelay; ++i)
        delay *= 2;
    return std::min(delay, options_.maxDelay);
}

bool LoginThrottle::locked(const Entry& entry, TimePoint now) const {
    return entry.failures >= options_.lockoutFailures && now - entry.lastFailure < options_.lockoutTime;
}

bool LoginThrottle::idle(const Entry& entry, TimePoint now) const {
    return !waiting(entry, now) && now - entry.lastFailure >= options_.lockoutTime;
}

bool LoginThrottle::lockedOut(const std::string& address) const {
    std::lock_guard lock(mutex_);
    auto it = table_.find(address);
    return it != table_.end() && locked(it->second, now_());
}

LoginThrottle::Admission LoginThrottle::admit(const std::string& address) {
    std::lock_guard lock(mutex_);
    const TimePoint now = now_();
    auto it = table_.find(address);
    if (it == table_.end())
        return {};
    Entry& entry = it->second;
    if (idle(entry, now)) {
        table_.erase(it);
        return {};
    }
    if (waiting(entry, now) || locked(entry, now))
        return {true, std::chrono::milliseconds(0)};
    Admission admission{false, delayAfter(entry.failures)};
    if (admission.holdsWait())
        entry.waitEnds = now + admission.delay;
    return admission;
}

LoginThrottle::Failure LoginThrottle::failed(const std::string& address, const Admission& admission) {
    std::lock_guard lock(mutex_);
    const TimePoint now = now_();
    Entry& entry = entryFor(address, now);
    if (admission.holdsWait())
        entry.waitEnds = TimePoint::min();
    const bool wasLocked = locked(entry, now);
    if (entry.failures < std::numeric_limits<unsigned>::max())
        ++entry.failures;
    entry.lastFailure = now;
    return {entry.failures, !wasLocked && locked(entry, now)};
}

void LoginThrottle::succeeded(const std::string& address, const Admission& admission) {
    std::lock_guard lock(mutex_);
    auto it = table_.find(address);
    if (it == table_.end())
        return;
    if (admission.holdsWait())
        it->second.waitEnds = TimePoint::min();
    // Another login of the address may still hold the waiting place; it keeps the entry until it is done.
    if (waiting(it->second, now_()))
        it->second.failures = 0;
    else
        table_.erase(it);
}

void LoginThrottle::abandoned(const std::string& address, const Admission& admission) {
    if (!admission.holdsWait())
        return;
    std::lock_guard lock(mutex_);
    if (auto it = table_.find(address); it != table_.end())
        it->second.waitEnds = TimePoint::min();
}

std::size_t LoginThrottle::trackedAddresses() const {
    std::lock_guard lock(mutex_);
    return table_.size();
}

LoginThrottle::Entry& LoginThrottle::entryFor(const std::string& address, TimePoint now) {
    if (auto it = table_.find(address); it != table_.end()) {
        if (idle(it->second, now))
            it->second = Entry{};
        return it->second;
    }
    makeRoom(now);
    return table_[address];
}

void LoginThrottle::makeRoom(TimePoint now) {
    if (table_.size() < options_.maxAddresses)
        return;
    std::erase_if(table_, [&](const auto& item) { return idle(item.second, now); });
    while (table_.size() >= options_.maxAddresses) {
        // A waiting entry stays: its session comes back to it. Sessions are few, so this ends.
        auto oldest = table_.end();
        for (auto it = table_.begin(); it != table_.end(); ++it)
            if (!waiting(it->second, now) &&
                (oldest == table_.end() || it->second.lastFailure < oldest->second.lastFailure))
                oldest = it;
        if (oldest == table_.end())
            return;
        table_.erase(oldest);
    }
}

} // namespace kv::agent::service
