#pragma once

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
    // Last call of the monitor thread, after its closing lines and the logout: the client object is no longer
    // used and may be destroyed.
    virtual void monitorFinished() {}
};

// The monitor thread that StartMonitor creates suspended. resume() starts it (once); the object deletes itself
// when the thread ends. The client object must live, unused, until MonitorSink::monitorFinished().
class MonitorThread {
public:
    virtual void resume() = 0;

protected:
    virtual ~MonitorThread() = default;
};

} // namespace kv
