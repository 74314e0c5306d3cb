#pragma once

#include "agent/ServerStatus.h"

#include <atomic>
#include <cstdint>

namespace kv::agent {

// Memory figures of the game server in KiB.
struct MemoryFigures {
    std::int32_t ramK = 0;
    std::int32_t peakRamK = 0;
    std::int32_t pageFileK = 0;
    std::int32_t peakPageFileK = 0;
};

// Supervision figures. Written by the main thread (and the output reader for Running); any thread may read them.
class SupervisionState {
public:
    ServerStatus status() const { return status_.load(); }
    void setStatus(ServerStatus s) { status_.store(s); }
    // Starting -> Running only: a line read after a stop must not make a stopped server look alive.
    bool markRunning(std::int64_t since);

    std::int32_t upTimeSeconds() const { return upTime_.load(); }
    void addUpTimeSecond() { upTime_.fetch_add(1); }

    std::int32_t crashCount() const { return crashes_.load(); }
    void addCrash() { crashes_.fetch_add(1); }

    std::int64_t runningSince() const { return runningSince_.load(); }

    MemoryFigures memory() const;
    void setMemory(const MemoryFigures& m);
    void setCurrentRamK(std::int32_t k) { ramK_.store(k); }
    std::int32_t currentRamK() const { return ramK_.load(); }

    bool restartPending() const { return restartPending_.load(); }
    void setRestartPending(bool on) { restartPending_.store(on); }
    std::int64_t lastRestartRequest() const { return lastRestart_.load(); }
    void setLastRestartRequest(std::int64_t t) { lastRestart_.store(t); }

private:
    std::atomic<ServerStatus> status_{ServerStatus::NeverStarted};
    std::atomic<std::int32_t> upTime_{0};
    std::atomic<std::int32_t> crashes_{0};
    std::atomic<std::int64_t> runningSince_{0};
    std::atomic<std::int32_t> ramK_{0};
    std::atomic<std::int32_t> peakRamK_{0};
    std::atomic<std::int32_t> pageFileK_{0};
    std::atomic<std::int32_t> peakPageFileK_{0};
    std::atomic<bool> restartPending_{false};
    std::atomic<std::int64_t> lastRestart_{0};
};

} // namespace kv::agent
