#pragma once

#include "common/channel/CCommAsyncSocket.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kv::test {

// A scripted peer for the client tests: it answers on loopback as an agent would, from files and lists kept in
// memory, and can be told to misbehave (break a record off, answer with other markers). Sessions are served one
// after another on one thread.
class FakeAgent {
public:
    // `context` null: the test identity (testServerContext()).
    explicit FakeAgent(std::shared_ptr<SslContext> context = nullptr);
    ~FakeAgent();

    unsigned port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

    // Everything below is guarded by mutex(); tests set it up before the client runs and read it afterwards.
    std::mutex& mutex() { return mutex_; }
    // Waits until `count` sessions have ended.
    bool waitForSessions(int count);

    std::string adminName = "admin";
    std::string password = "secret";
    // Files by kind and name: "setup/<name>", "ban", "option/<name>", "shot/<name>", "log/<name>",
    // "config/<name>" (the uploaded .ini), "control/<name>" (run mode, map, passwords and stored description).
    std::map<std::string, std::string> files;
    std::vector<std::string> configurationList, optionFileList, screenshotList, logList;
    std::string statusRecord;
    std::string restartReply = "None\n";
    std::vector<std::string> feedLines; // sent raw after "MonitorFeed", then the connection is closed
    // Replaces the reply to a request word (compared whole); the handler may read and write on the connection.
    // Returning false ends the session.
    std::map<std::string, std::function<bool(CCommAsyncSocket&)>> overrides;

    // What happened.
    std::vector<std::string> requests;     // request lines taken after login
    std::vector<std::string> ignoredLines; // lines before login that were not "Login"
    std::vector<std::string> parameters;   // parameter lines read by requests
    int acks = 0;                          // "NextBlock" lines read
    int sessions = 0;
    int logins = 0; // "Login" lines, accepted or not: a refused agent must never see one
    int rejectedLogins = 0;

private:
    void serve();
    void session(CCommAsyncSocket& connection);
    bool request(CCommAsyncSocket& connection, const std::string& line);
    bool sendFile(CCommAsyncSocket& connection, const std::string& key);
    bool receiveFile(CCommAsyncSocket& connection, const std::string& key, const char* ready, const char* end);
    std::string readParameter(CCommAsyncSocket& connection, int capacity);

    CCommAsyncSocket listener_;
    unsigned port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    std::thread thread_;
};

} // namespace kv::test
