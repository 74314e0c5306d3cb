#pragma once

#include "agent/AgentSettings.h"
#include "agent/FeedList.h"
#include "common/protocol/StatusRecord.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv::agent::service {

// What a remote session needs from the agent. Every call may come from any session thread at the same time.
class RemoteServiceHost {
public:
    virtual ~RemoteServiceHost() = default;

    virtual std::string workDir() const = 0;
    virtual AgentSettings settings() const = 0;
    virtual void updateSettings(const std::function<void(AgentSettings&)>& change) = 0;
    virtual std::int64_t now() const = 0;

    // Asks the main thread to start (true) or stop the game server and waits for it, with a bound. False when it
    // was not carried out (the agent is shutting down, or the main thread did not answer in time).
    virtual bool serverControl(bool start) = 0;
    // The figures of the status reply.
    virtual protocol::StatusRecord status() const = 0;

    // A line of the access log list; `text` follows the time stamp that the host adds.
    virtual void accessLog(const std::string& text) = 0;
    virtual void agentLog(const std::string& text) = 0;

    // Registers a monitor feed with the current run and gives the output history, oldest first. False when there
    // is no run to follow (the history is still given).
    virtual bool attachFeed(const std::shared_ptr<FeedSink>& sink, std::vector<OutputLine>& history) = 0;
    virtual void detachFeed(const FeedSink* sink) = 0;
    // Whether the memory figure goes with each feed line.
    virtual bool showMemory() const { return settings().showMemoryUsage; }
};

} // namespace kv::agent::service
