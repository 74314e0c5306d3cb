#include "monitor/MonitorOptions.h"

namespace kv::monitor {

namespace {
const char* const kAgentStop = "Are you sure you want to stop the Korvane server?";
const char* const kAgentClose = "Are you sure you want to stop the server and close the monitor?";
const char* const kLocalNote = "\n\nNote: When you stop your server you may see Windows display a brief warning "
                               "message indicating the program is stopping.  This is normal.";
} // namespace

MonitorOptions MonitorOptions::forAgent(std::string setupName) {
    MonitorOptions o;
    o.mode = MonitorMode::Agent;
    o.setupName = std::move(setupName);
    o.stopQuestion = QString::fromUtf8(kAgentStop);
    o.closeQuestion = QString::fromUtf8(kAgentClose);
    return o;
}

MonitorOptions MonitorOptions::forLocalRun(std::string setupName) {
    MonitorOptions o = forAgent(std::move(setupName));
    o.mode = MonitorMode::LocalRun;
    o.stopQuestion += QString::fromUtf8(kLocalNote);
    o.closeQuestion += QString::fromUtf8(kLocalNote);
    return o;
}

MonitorOptions MonitorOptions::forRemoteFeed(std::string setupName) {
    MonitorOptions o = forAgent(std::move(setupName));
    o.mode = MonitorMode::RemoteFeed;
    o.stopQuestion.clear();
    o.closeQuestion.clear();
    return o;
}

} // namespace kv::monitor
