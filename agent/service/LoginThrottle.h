#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

namespace kv::agent::service {

// Slows password guessing down, per source address. After `freeFailures` failed logins in a row, every further
// attempt waits before it is answered, the wait doubling from `firstDelay` up to `maxDelay`; after
// `lockoutFailures` the address is refused at accept until `lockoutTime` has passed since its last failure. An
// address idle that long starts afresh, and a successful login forgets it at once.
//
// Only addresses that failed are kept, at most `maxAddresses` (the idle ones go first, then the longest quiet),
// so that a flood from many addresses costs bounded memory. While one login of an address waits, any other login
// from it is refused at once and counted: a single address can hold one session slot with its waits, not all.
class LoginThrottle {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Now = std::function<TimePoint()>;

    struct Options {
        unsigned freeFailures = 3;
        std::chrono::milliseconds firstDelay{1000};
        std::chrono::milliseconds maxDelay{60000};
        unsigned lockoutFailures = 20;
        std::chrono::milliseconds lockoutTime{15 * 60 * 1000};
        std::size_t maxAddresses = 4096;
    };

    struct Admission {
        bool refused = false;               // answer the rejection at once, without looking at the password
        std::chrono::milliseconds delay{0}; // otherwise: wait this long, then check the password
        // This attempt holds its address's one waiting place until it is finished.
        bool holdsWait() const { return !refused && delay.count() > 0; }
    };

    struct Failure {
        unsigned inARow = 0;
        bool lockedOutNow = false; // this failure began a lockout
    };

    LoginThrottle() : LoginThrottle(Options{}) {}
    // `now` empty: the steady clock.
    explicit LoginThrottle(Options options, Now now = {});

    // For the listener: connections from a locked-out address are closed before the TLS handshake.
    bool lockedOut(const std::string& address) const;

    // Begins a login attempt; every admitted attempt ends with exactly one of failed(), succeeded() or abandoned().
    Admission admit(const std::string& address);
    Failure failed(const std::string& address, const Admission& admission);
    void succeeded(const std::string& address, const Admission& admission);
    // The attempt ended without an answer (its session was aborted while it waited).
    void abandoned(const std::string& address, const Admission& admission);

    const Options& options() const { return options_; }
    std::size_t trackedAddresses() const;

private:
    struct Entry {
        unsigned failures = 0;
        TimePoint lastFailure;
        // End of the wait of the login that holds the waiting place. A place that was never given back (the
        // session ended by an exception) thus frees itself.
        TimePoint waitEnds = TimePoint::min();
    };
    using Table = std::unordered_map<std::string, Entry>;

    std::chrono::milliseconds delayAfter(unsigned failures) const;
    bool locked(const Entry& entry, TimePoint now) const;
    static bool waiting(const Entry& entry, TimePoint now) { return now < entry.waitEnds; }
    bool idle(const Entry& entry, TimePoint now) const;
    // The entry of `address`, made when missing (room is made first) or reset when it has been idle.
    Entry& entryFor(const std::string& address, TimePoint now);
    void makeRoom(TimePoint now);

    Options options_;
    Now now_;
    mutable std::mutex mutex_;
    Table table_;
};

} // namespace kv::agent::service
