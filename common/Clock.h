#pragma once

#include <cstdint>

namespace kv {

// Source of the current time, passed in so that tests can move time (daily restarts, log names).
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowSeconds() const = 0;
};

class SystemClock final : public Clock {
public:
    std::int64_t nowSeconds() const override;
};

} // namespace kv
