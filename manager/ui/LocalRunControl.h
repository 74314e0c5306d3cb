#pragma once

#include "monitor/MonitorControl.h"

#include <QPointer>

namespace kv::manager::local {
class LocalRun;
}

namespace kv::manager::ui {

// Lets a monitor window stop the local run it shows; closing the window stops the server too. The run itself stays
// with LocalMonitors until its server has gone.
class LocalRunControl final : public monitor::MonitorControl {
    Q_OBJECT
public:
    explicit LocalRunControl(local::LocalRun& run, QObject* parent = nullptr);

    QString stopButtonText() const override;
    bool canStop() const override;
    void stopServer() override;
    void monitorClosed() override;

private:
    QPointer<local::LocalRun> run_;
};

} // namespace kv::manager::ui
