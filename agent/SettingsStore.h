#pragma once

#include "agent/AgentSettings.h"

#include <functional>
#include <mutex>

namespace kv::agent {

// The agent's settings shared between the main thread and the request threads: read as a copy, changed under the
// lock, so that no thread ever sees a text half written.
class SettingsStore {
public:
    explicit SettingsStore(AgentSettings initial = AgentSettings::defaults()) : settings_(std::move(initial)) {}

    AgentSettings snapshot() const {
        std::lock_guard lock(mutex_);
        return settings_;
    }
    void replace(AgentSettings s) {
        std::lock_guard lock(mutex_);
        settings_ = std::move(s);
    }
    // Changes some fields; `change` runs under the lock and must not call back into the store.
    void update(const std::function<void(AgentSettings&)>& change) {
        std::lock_guard lock(mutex_);
        change(settings_);
    }

private:
    mutable std::mutex mutex_;
    AgentSettings settings_;
};

} // namespace kv::agent
