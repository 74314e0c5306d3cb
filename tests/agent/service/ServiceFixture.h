#pragma once

#include "agent/service/RemoteListener.h"
#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Md5.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestIdentity.h"

#include <gtest/gtest.h>
#include <mutex>

namespace kv::test {

// The agent as the remote service sees it, kept in memory over a temporary working and game folder.
class FakeServiceHost : public agent::service::RemoteServiceHost {
public:
    FakeServiceHost() {
        settings_.adminName = "Admin";
        settings_.md5Password = md5Hex("secret");
        settings_.gameServerPath = dir.file("game");
        makeDirectories(dir.file("work/Configurations"));
        makeDirectories(dir.file("game/System/pb/svss"));
        makeDirectories(dir.file("game/System/pb/svlogs"));
    }

    std::string workDir() const override { return dir.file("work"); }
    agent::AgentSettings settings() const override {
        std::lock_guard lock(mutex);
        return settings_;
    }
    void updateSettings(const std::function<void(agent::AgentSettings&)>& change) override {
        std::lock_guard lock(mutex);
        change(settings_);
    }
    std::int64_t now() const override { return 1700000000; }
    bool serverControl(bool start) override {
        std::lock_guard lock(mutex);
        controls.push_back(start);
        return true;
    }
    protocol::StatusRecord status() const override {
        std::lock_guard lock(mutex);
        return record;
    }
    void accessLog(const std::string& text) override {
        std::lock_guard lock(mutex);
        access.push_back(text);
    }
    void agentLog(const std::string& text) override {
        std::lock_guard lock(mutex);
        log.push_back(text);
    }
    bool attachFeed(const std::shared_ptr<agent::FeedSink>& sink, std::vector<agent::OutputLine>& lines) override {
        std::lock_guard lock(mutex);
        lines = history;
        if (!runExists)
            return false;
        feed = sink;
        return true;
    }
    void detachFeed(const agent::FeedSink*) override {
        std::lock_guard lock(mutex);
        feed.reset();
        ++detached;
    }

    std::shared_ptr<agent::FeedSink> currentFeed() {
        std::lock_guard lock(mutex);
        return feed;
    }
    std::vector<std::string> accessLines() {
        std::lock_guard lock(mutex);
        return access;
    }
    std::vector<std::string> agentLines() {
        std::lock_guard lock(mutex);
        return log;
    }
    std::vector<bool> controlRequests() {
        std::lock_guard lock(mutex);
        return controls;
    }

    TempDir dir;
    mutable std::mutex mutex;
    agent::AgentSettings settings_ = agent::AgentSettings::defaults();
    protocol::StatusRecord record;
    std::vector<std::string> access, log;
    std::vector<bool> controls;
    std::vector<agent::OutputLine> history;
    bool runExists = true;
    std::shared_ptr<agent::FeedSink> feed;
    int detached = 0;
};

// A listener on a free loopback port over a fake host.
class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(startListener()); }

    bool startListener(agent::service::RemoteListener::Options options = {}) {
        options.address = "127.0.0.1";
        options.port = 0;
        listener = std::make_unique<agent::service::RemoteListener>(
            host, testServerContext());
        return listener->start(options);
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(listener->port()); }
    std::string work(const std::string& relative) const { return joinPath(host.workDir(), relative); }
    std::string game(const std::string& relative) const { return joinPath(host.dir.file("game"), relative); }

    FakeServiceHost host;
    std::unique_ptr<agent::service::RemoteListener> listener;
};

// A raw protocol client for the agent's side of each exchange. `source`, when given, is the loopback address it
// connects from (any 127.x.y.z works), so that tests can be several peers; otherwise it is 127.0.0.1.
class RawClient {
public:
    explicit RawClient(unsigned port, const char* source = nullptr) : socket_(testClientContext()) {
        socket_.SetTimeouts(std::chrono::seconds(5), std::chrono::seconds(5));
        connected_ = (!source || socket_.CreateBound(0, SOCK_STREAM, source)) && socket_.ConnectTo("127.0.0.1", port);
    }
    bool connected() const { return connected_; }
    bool send(const std::string& lines) { return socket_.SendAll(lines) == static_cast<int>(lines.size()); }
    // The next line, or "<closed>" when the connection ended.
    std::string line(int capacity = 16384) {
        std::string text;
        return socket_.ReceiveLine(text, capacity) < 0 ? "<closed>" : text;
    }
    int verdict() {
        char byte = 9;
        return socket_.ReceiveByte(&byte) == 1 ? byte : -1;
    }
    bool login(const std::string& name = "Admin", const std::string& password = "secret") {
        return send("Login\n" + name + "\n" + password + "\n") && verdict() == 1;
    }
    CCommAsyncSocket& socket() { return socket_; }

private:
    CCommAsyncSocket socket_;
    bool connected_ = false;
};

} // namespace kv::test
