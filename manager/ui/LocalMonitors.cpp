#include "manager/ui/LocalMonitors.h"

#include "manager/ui/LocalRunControl.h"
#include "manager/ui/LocalRunSource.h"

#include "gui/SlotGuard.h"
#include "monitor/CMonitorServerOutputWnd.h"

#include <algorithm>

namespace kv::manager::ui {

LocalMonitors::LocalMonitors(const MonitorWindowMaker& maker, local::LocalRunOptions options, QObject* parent)
    : QObject(parent), maker_(maker), options_(options) {
    stopBound_.setSingleShot(true);
    connect(&stopBound_, &QTimer::timeout, this, [this] {
        if (stoppingAll_) {
            stoppingAll_ = false;
            emit allStopped();
        }
    });
}

LocalMonitors::~LocalMonitors() {
    // Windows first: they hold on to their runs until they are gone.
    for (Slot& slot : slots_)
        delete slot.window.data();
    for (Slot& slot : slots_)
        delete slot.run.data();
}

const LocalMonitors::Slot* LocalMonitors::listed(const std::string& name) const {
    for (const Slot& slot : slots_)
        if (slot.listed && slot.window && slot.name == name)
            return &slot;
    return nullptr;
}

LocalMonitors::Outcome LocalMonitors::run(local::LocalRun::Request request, std::string* error) {
    Slot* previous = nullptr;
    for (Slot& slot : slots_)
        if (slot.listed && slot.window && slot.name == request.setupName)
            previous = &slot;
    if (previous && previous->run && !previous->run->hasEnded()) {
        raise(request.setupName);
        return Outcome::Raised;
    }
    std::unique_ptr<local::LocalRun> started = local::LocalRun::start(std::move(request), options_, error);
    if (!started)
        return Outcome::Failed;
    // The old window of the setup, whose server has gone, stays open with its last lines; the new run takes the name.
    if (previous)
        previous->listed = false;
    local::LocalRun* run = started.release();
    run->setParent(this);
    auto* source = new LocalRunSource(*run);
    auto* control = new LocalRunControl(*run);
    monitor::CMonitorServerOutputWnd* window = maker_.local(*source, *control, run->setupName());
    source->setParent(window);
    control->setParent(window);

    const int id = nextId_++;
    slots_.push_back({id, run->setupName(), run, window, true});
    // Pruned from the event loop, never from inside the run's or the window's own call.
    auto pruneLater =
        gui::guarded([this](auto&&...) { QTimer::singleShot(0, this, gui::guarded([this] { prune(); })); });
    connect(run, &local::LocalRun::ended, this, pruneLater);
    connect(window, &QObject::destroyed, this, pruneLater);
    window->show();
    return Outcome::Started;
}

bool LocalMonitors::raise(const std::string& setupName) const {
    const Slot* slot = listed(setupName);
    if (!slot)
        return false;
    monitor::CMonitorServerOutputWnd* w = slot->window.data();
    w->showNormal();
    w->raise();
    w->activateWindow();
    return true;
}

std::vector<std::string> LocalMonitors::names() const {
    std::vector<std::string> out;
    for (const Slot& slot : slots_)
        if (slot.listed && slot.window)
            out.push_back(slot.name);
    std::sort(out.begin(), out.end());
    return out;
}

monitor::CMonitorServerOutputWnd* LocalMonitors::window(const std::string& setupName) const {
    const Slot* slot = listed(setupName);
    return slot ? slot->window.data() : nullptr;
}

local::LocalRun* LocalMonitors::localRun(const std::string& setupName) const {
    const Slot* slot = listed(setupName);
    return slot ? slot->run.data() : nullptr;
}

int LocalMonitors::runningServers() const {
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.run && !s.run->hasEnded(); }));
}

void LocalMonitors::prune() {
    for (auto it = slots_.begin(); it != slots_.end();) {
        if (!it->window && (!it->run || it->run->hasEnded())) {
            if (it->run)
                it->run->deleteLater();
            it = slots_.erase(it);
        } else {
            ++it;
        }
    }
    checkAllStopped();
}

void LocalMonitors::stopAll() {
    stoppingAll_ = true;
    std::vector<QPointer<monitor::CMonitorServerOutputWnd>> windows;
    for (Slot& slot : slots_) {
        if (slot.run)
            slot.run->stop();
        windows.push_back(slot.window);
    }
    for (const auto& window : windows)
        if (window)
            window->closeWithoutAsking();
    stopBound_.start(options_.longestStop() + std::chrono::milliseconds(1000));
    QTimer::singleShot(0, this, gui::guarded([this] { checkAllStopped(); }));
}

void LocalMonitors::checkAllStopped() {
    if (!stoppingAll_ || runningServers() > 0)
        return;
    stoppingAll_ = false;
    stopBound_.stop();
    emit allStopped();
}

} // namespace kv::manager::ui
