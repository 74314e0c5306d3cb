#include "agent/SupervisionState.h"

namespace kv::agent {

bool SupervisionState::markRunning(std::int64_t since) {
    ServerStatus expected = ServerStatus::Starting;
    if (!status_.compare_exchange_strong(expected, ServerStatus::Running))
        return false;
    runningSince_.store(since);
    return true;
}

MemoryFigures SupervisionState::memory() const {
    return {ramK_.load(), peakRamK_.load(), pageFileK_.load(), peakPageFileK_.load()};
}

void SupervisionState::setMemory(const MemoryFigures& m) {
    ramK_.store(m.ramK);
    peakRamK_.store(m.peakRamK);
    pageFileK_.store(m.pageFileK);
    peakPageFileK_.store(m.peakPageFileK);
}

} // namespace kv::agent
