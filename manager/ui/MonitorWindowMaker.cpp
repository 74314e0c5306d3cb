#include "manager/ui/MonitorWindowMaker.h"

#include "manager/core/ManagerContext.h"
#include "monitor/CMonitorServerOutputWnd.h"

#include "gui/ColourRef.h"

namespace kv::manager::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

monitor::CMonitorServerOutputWnd* make(monitor::MonitorSource& source, monitor::MonitorControl* control,
                                       monitor::MonitorOptions options, const core::ManagerContext& context,
                                       gui::Prompter& prompter, const QString& title) {
    options.clock = context.clock;
    options.background = gui::fromColourRef(context.settings.bgColor);
    options.text = gui::fromColourRef(context.settings.textColor);
    auto* window = new monitor::CMonitorServerOutputWnd(source, control, std::move(options), prompter);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    window->setGeometry(10, 10, 490, 290);
    return window;
}

} // namespace

MonitorWindowMaker::MonitorWindowMaker(const core::ManagerContext& context, gui::Prompter& prompter,
                                       std::function<void()> help)
    : context_(context), prompter_(prompter), help_(std::move(help)) {}

monitor::CMonitorServerOutputWnd* MonitorWindowMaker::local(monitor::MonitorSource& source,
                                                            monitor::MonitorControl& control,
                                                            const std::string& setupName) const {
    monitor::MonitorOptions options = monitor::MonitorOptions::forLocalRun(setupName);
    options.help = help_;
    return make(source, &control, std::move(options), context_, prompter_,
                QStringLiteral("Monitoring Server Running %1").arg(qs(setupName)));
}

monitor::CMonitorServerOutputWnd* MonitorWindowMaker::remote(monitor::MonitorSource& source,
                                                             const std::string& serverName, const std::string& address,
                                                             const std::string& setupName) const {
    monitor::MonitorOptions options = monitor::MonitorOptions::forRemoteFeed(setupName);
    options.help = help_;
    return make(source, nullptr, std::move(options), context_, prompter_,
                QStringLiteral("Monitoring Remote Server \"%1\" (IP: %2) running %3")
                    .arg(qs(serverName), qs(address), qs(setupName)));
}

} // namespace kv::manager::ui
