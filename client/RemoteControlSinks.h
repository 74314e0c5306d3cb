#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// The caller's side of the client library: what stands for its windows. The library calls these from the thread
// that runs an operation or a monitor feed; an implementation hands the call to its own user-interface thread.
// They are plain abstract classes (reached through their virtual tables), so no symbol crosses the library
// boundary.
namespace kv {

// A status line whose text shows an operation's progress.
class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void setText(const std::string& text) = 0;
    // False once the window behind it has gone; the library then shows nothing more.
    virtual bool alive() const { return true; }
};

// The caller's array of monitor feed lines. The monitor thread appends while the caller's thread reads, so every
// access goes through one lock.
class MonitorLines {
public:
    void append(std::string line) {
        std::lock_guard lock(mutex_);
        lines_.push_back(std::move(line));
    }
    // Everything appended since the last call.
    std::vector<std::string> takeAll() {
        std::lock_guard lock(mutex_);
        return std::exchange(lines_, {});
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

// The window that shows a monitor feed.
class MonitorSink {
public:
    virtual ~MonitorSink() = default;
    // False once the window has gone: the feed then ends at the next line.
    virtual bool alive() const = 0;
    // A new line has been appended to the monitor lines.
    virtual void lineAdded() = 0;
    // The feed could not start ("Failure connecting to server"), followed by feedEnded().
    virtual void feedFailed(std::string text) = 0;
    virtual void feedEnded() = 0;
    // Last call of the monitor thread, after its closing lines and the logout. Made also after stop().
    virtual void monitorFinished() {}
};

// The monitor thread that StartMonitor creates suspended. It has a connection of its own, made from the client
// object's settings, so the client object may be destroyed at any time. The caller owns the thread object and
// ends it with release(); the sink and the lines must live until release() has returned.
class MonitorThread {
public:
    // Starts the feed; only the first call counts.
    virtual void resume() = 0;
    // Ends the feed at once: the connection is shut down, so a read or a connect in progress returns now. From any
    // thread, any number of times; does not wait. A stopped feed tells the window nothing more than
    // monitorFinished() and adds only its closing line to the lines.
    virtual void stop() = 0;
    // stop(), waits for the thread to end (promptly, as stop unblocks it) and frees the object. Not to be called
    // while holding a lock that the sink takes. Called from a sink's own callback, it frees the object once the
    // thread is done with it instead of waiting.
    virtual void release() = 0;
    // How the feed's contact with the agent went, as GetAgentIdentity tells it for a client object: KVSM_AGENT_*,
    // the fingerprint presented and the one recorded (null outputs are skipped). Complete once monitorFinished()
    // has been told; non-zero when there was a contact.
    virtual int agentIdentity(int* trust, std::string* fingerprint, std::string* recordedFingerprint) const = 0;

protected:
    virtual ~MonitorThread() = default;
};

// Owning pointer for C++ callers: ends the thread as it goes out of scope.
struct MonitorThreadRelease {
    void operator()(MonitorThread* thread) const noexcept { thread->release(); }
};
using MonitorThreadPtr = std::unique_ptr<MonitorThread, MonitorThreadRelease>;

} // namespace kv
