#include "agent/HeadlessConsole.h"

namespace kv::agent {

HeadlessConsole::HeadlessConsole(Agent& agent, std::FILE* out) : agent_(agent), out_(out) {
    shown_.statusText.clear();
    agent_.accessLog().setEcho([this](const std::string& line) { print(line); });
    connect(&agent_, &Agent::displayChanged, this, &HeadlessConsole::showDisplay);
}

HeadlessConsole::~HeadlessConsole() { agent_.accessLog().setEcho({}); }

void HeadlessConsole::print(const std::string& line) {
    std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void HeadlessConsole::showDisplay() {
    AgentDisplay d = agent_.display();
    if (d.activeSetup != shown_.activeSetup)
        print("Active Server Setup: " + d.activeSetup);
    if (d.commandLine != shown_.commandLine)
        print("Server Command: " + d.commandLine);
    if (d.statusText != shown_.statusText)
        print("Server Status: " + d.statusText);
    if (agent_.showFailures() && d.failures != shown_.failures)
        print("Server Failures: " + d.failures);
    shown_ = d;
}

} // namespace kv::agent
