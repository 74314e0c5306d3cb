#pragma once

#include <functional>
#include <string>

namespace kv::core {
struct ManagerContext;
}

namespace kv::gui {
class Prompter;
}

namespace kv::monitor {
class CMonitorServerOutputWnd;
class MonitorControl;
class MonitorSource;
} // namespace kv::monitor

namespace kv::manager::ui {

// Makes the manager's output monitor windows: at (10,10)-(500,300), in the colours of the preferences, with the
// monitor's help page, deleted when closed. The caller parents source and control to the window and shows it.
class MonitorWindowMaker {
public:
    MonitorWindowMaker(const core::ManagerContext& context, gui::Prompter& prompter, std::function<void()> help);

    // A server that the manager runs itself: "Monitoring Server Running <setup>", with "Stop Server".
    monitor::CMonitorServerOutputWnd* local(monitor::MonitorSource& source, monitor::MonitorControl& control,
                                            const std::string& setupName) const;
    // The output feed of a remote server: no "Stop Server", and closing never asks.
    monitor::CMonitorServerOutputWnd* remote(monitor::MonitorSource& source, const std::string& serverName,
                                             const std::string& address, const std::string& setupName) const;

private:
    const core::ManagerContext& context_;
    gui::Prompter& prompter_;
    std::function<void()> help_;
};

} // namespace kv::manager::ui
