#pragma once

#include "agent/service/RemoteServiceHost.h"
#include "common/Md5.h"

#include <mutex>

// The agent as the service sees it, with nothing but a working and a game folder: enough for transfers.
class BenchHost : public kv::agent::service::RemoteServiceHost {
public:
    BenchHost(std::string workDir, std::string gameFolder);

    std::string workDir() const override { return workDir_; }
    kv::agent::AgentSettings settings() const override;
    void updateSettings(const std::function<void(kv::agent::AgentSettings&)>& change) override;
    std::int64_t now() const override;
    bool serverControl(bool) override { return true; }
    kv::protocol::StatusRecord status() const override { return {}; }
    void accessLog(const std::string&) override {}
    void agentLog(const std::string&) override {}
    bool attachFeed(const std::shared_ptr<kv::agent::FeedSink>&, std::vector<kv::agent::OutputLine>&) override {
        return false;
    }
    void detachFeed(const kv::agent::FeedSink*) override {}

private:
    std::string workDir_;
    mutable std::mutex mutex_;
    kv::agent::AgentSettings settings_;
};
