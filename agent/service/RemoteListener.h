#pragma once

#include "agent/service/RemoteSession.h"
#include "common/channel/CCommAsyncSocket.h"

#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kv::agent::service {

// The agent's remote control port: accepts connections on its own thread and gives each a session thread.
// Connections that have not logged in have places of their own, in all and per source address; when they are
// full, the oldest such connection of that address, else of the address that holds the most, is dropped to make
// room, so that a flood of idle connections from a few addresses never pushes a real client out. Each must log in within the login time from
// its accept, however slowly it sends. Logged-in sessions have their own places, which no connection that has not
// logged in can take. One login throttle serves all sessions; a connection from an address it has locked out is
// closed at accept, before the TLS handshake and without a session thread.
class RemoteListener {
public:
    struct Options {
        std::string address;   // dotted decimal; empty: every address
        unsigned port = 49310; // 0: any free port (tests)
        std::size_t maxBeforeLogin = 64;
        std::size_t maxBeforeLoginPerAddress = 8;
        std::size_t maxLoggedIn = 64;
        SessionLimits limits;
        std::chrono::milliseconds acceptRetry{5000};
    };

    RemoteListener(RemoteServiceHost& host, std::shared_ptr<SslContext> context);
    RemoteListener(const RemoteListener&) = delete;
    RemoteListener& operator=(const RemoteListener&) = delete;
    ~RemoteListener();

    // Binds and listens, then accepts on the listener thread. False when the port cannot be used (the reason is
    // in the agent log); the agent then runs on without remote control.
    bool start(const Options& options);
    // The bound port (useful after asking for port 0).
    unsigned port() const { return port_; }
    // Closes the port, ends every session and waits for their threads.
    void stop();
    std::size_t activeSessions() const;

private:
    struct Running {
        std::shared_ptr<RemoteSession> session;
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
        bool dropped = false; // aborted by the listener, ending
    };

    void acceptLoop();
    void accept();
    void reapFinished();
    // Drops connections past their login time; with `peer`, also the oldest ones that stand in the way of a new
    // connection from it. Called with the mutex held.
    void dropBeforeLogin(const std::string* peer);
    void drop(Running& r);

    RemoteServiceHost& host_;
    std::shared_ptr<SslContext> context_;
    Options options_;
    std::unique_ptr<LoginThrottle> throttle_; // made in start(); sessions end before it goes
    std::unique_ptr<LoggedInSlots> slots_;    // likewise
    CCommAsyncSocket listener_;
    unsigned port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable stopWait_;
    bool stopping_ = false;
    std::list<Running> sessions_;
};

} // namespace kv::agent::service
