#pragma once

#include "client/CServerRemoteControl.h"
#include "tests/client/FakeAgent.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestIdentity.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>

namespace kv::test {

// Records every progress text.
class RecordingStatus : public StatusSink {
public:
    void setText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        texts_.push_back(text);
    }
    std::vector<std::string> texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }
    std::string last() const {
        std::lock_guard lock(mutex_);
        return texts_.empty() ? std::string() : texts_.back();
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
};

// A fake agent, a local folder and a client object aimed at them, which pins agents in a trust file of its own.
class ClientTest : public ::testing::Test {
protected:
    ClientTest() { client = makeClient(agent.address()); }

    std::unique_ptr<CServerRemoteControl> makeClient(const std::string& address, const std::string& name = "admin",
                                                     const std::string& password = "secret") {
        RemoteControlOptions options;
        options.localFolder = local.path();
        options.context = testClientContext();
        options.connectTimeout = std::chrono::seconds(5);
        options.replyTimeout = std::chrono::seconds(5);
        options.trust = TrustSettings{trustFile(), policy};
        auto made = std::make_unique<CServerRemoteControl>(address, name, password, options);
        made->SetStatusWindow(&status);
        return made;
    }

    std::string trustFile() const { return trustFolder.file("known_agents"); }

    template <typename T> T agentState(T FakeAgent::*member) {
        std::lock_guard lock(agent.mutex());
        return agent.*member;
    }

    FakeAgent agent;
    TempDir local;
    TempDir trustFolder;
    TrustPolicy policy = TrustPolicy::TrustOnFirstUse; // for the clients made after it is set
    RecordingStatus status;
    std::unique_ptr<CServerRemoteControl> client;
};

} // namespace kv::test
