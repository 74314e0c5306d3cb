#pragma once

#include <QObject>
#include <QString>

namespace kv::monitor {

// What a monitor window may ask of the server it shows. A window of a remote feed has none (no "Stop Server").
class MonitorControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~MonitorControl() override = default;

    // Caption of the stop button ("Stop Server", or what the stop has reached).
    virtual QString stopButtonText() const = 0;
    // Whether a stop may still be asked for.
    virtual bool canStop() const = 0;
    // The user confirmed "Stop Server".
    virtual void stopServer() = 0;
    // The window is going away: stop the server and let go of its lines. Called once.
    virtual void monitorClosed() = 0;

signals:
    void stateChanged();
};

} // namespace kv::monitor
