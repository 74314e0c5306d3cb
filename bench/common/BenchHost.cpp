#include "bench/common/BenchHost.h"

#include "common/LocalTime.h"

BenchHost::BenchHost(std::string workDir, std::string gameFolder) : workDir_(std::move(workDir)) {
    settings_ = kv::agent::AgentSettings::defaults();
    settings_.adminName = "admin";
    settings_.md5Password = kv::md5Hex("secret");
    settings_.gameServerPath = std::move(gameFolder);
}

kv::agent::AgentSettings BenchHost::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void BenchHost::updateSettings(const std::function<void(kv::agent::AgentSettings&)>& change) {
    std::lock_guard lock(mutex_);
    change(settings_);
}

std::int64_t BenchHost::now() const {
    return kv::currentSeconds();
}
