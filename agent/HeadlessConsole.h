#pragma once

#include "agent/Agent.h"

#include <QObject>

#include <cstdio>
#include <mutex>
#include <string>

namespace kv::agent {

// Headless stand-in for the main window's fields: every access log line, and every change of the server status,
// active setup and command line, goes to standard output as one line (journald keeps them under systemd).
class HeadlessConsole : public QObject {
    Q_OBJECT
public:
    HeadlessConsole(Agent& agent, std::FILE* out = stdout);
    ~HeadlessConsole() override;

    void print(const std::string& line);

private:
    void showDisplay();

    Agent& agent_;
    std::FILE* out_;
    std::mutex mutex_;
    AgentDisplay shown_;
};

} // namespace kv::agent
