#include "manager/ui/LocalRunControl.h"

#include "manager/local/LocalRun.h"

namespace kv::manager::ui {

LocalRunControl::LocalRunControl(local::LocalRun& run, QObject* parent) : MonitorControl(parent), run_(&run) {
    connect(&run, &local::LocalRun::stateChanged, this, [this] { emit stateChanged(); });
}

QString LocalRunControl::stopButtonText() const {
    return QString::fromUtf8(run_ ? run_->stopButtonText() : "Server Stopped");
}

bool LocalRunControl::canStop() const {
    return run_ && run_->canStop();
}

void LocalRunControl::stopServer() {
    if (run_)
        run_->stop();
}

void LocalRunControl::monitorClosed() {
    if (run_)
        run_->stop();
}

} // namespace kv::manager::ui
