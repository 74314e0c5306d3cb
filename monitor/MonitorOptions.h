#pragma once

#include <QColor>
#include <QString>

#include <functional>
#include <string>

namespace kv {
class Clock;
}

namespace kv::monitor {

// Who a monitor window serves: the agent's own game server, a server the manager runs itself, or the output feed of
// a remote agent (no "Stop Server", nothing to stop when it closes).
enum class MonitorMode { Agent, LocalRun, RemoteFeed };

struct MonitorOptions {
    MonitorMode mode = MonitorMode::Agent;
    std::string setupName;
    const Clock* clock = nullptr;  // null: the system clock
    std::function<void()> help;    // the "Help" button; empty: the button does nothing
    QString stopQuestion;
    QString closeQuestion;
    // The output area and the lines that no highlight colours (the manager takes both from its preferences).
    QColor background = Qt::black;
    QColor text = QColor(250, 245, 199);

    static MonitorOptions forAgent(std::string setupName);
    static MonitorOptions forLocalRun(std::string setupName);
    static MonitorOptions forRemoteFeed(std::string setupName);

    bool hasStopButton() const { return mode != MonitorMode::RemoteFeed; }
    // Page up and page down move by a screen in the manager's windows only.
    bool pageScrolling() const { return mode != MonitorMode::Agent; }
    // Saved files: time stamp and memory figure (agent), or the stored text (manager); CR LF either way.
    bool stampedSave() const { return mode == MonitorMode::Agent; }
};

} // namespace kv::monitor
