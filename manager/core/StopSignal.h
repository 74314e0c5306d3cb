#pragma once

#include "common/UniqueFd.h"

#include <atomic>
#include <chrono>

namespace kv::core {

// A one-way "stop now" for a worker that waits on sockets: raise() may be called from any thread and wakes every
// wait at once, because the signal is a descriptor that the worker polls together with its socket.
class StopSignal {
public:
    StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void raise() noexcept;
    bool raised() const noexcept { return raised_.load(); }

    // Readable once raised; -1 when no descriptor could be made (waits then poll the flag in short steps).
    int fd() const { return event_.get(); }

    // Waits up to `timeout`; true when raised.
    bool wait(std::chrono::milliseconds timeout) const;

private:
    UniqueFd event_;
    std::atomic<bool> raised_{false};
};

} // namespace kv::core
