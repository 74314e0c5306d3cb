#pragma once

#include "common/Clock.h"

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace kv::agent {

// The "Remote KVSM Access Log" list: recent remote requests and launch failures. Not saved. Any thread may append;
// views connect to lineAppended (queued when they live on another thread) and read lines() for the full list.
class AccessLog : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t kMaxLines = 1000;
    static constexpr std::size_t kDropCount = 99;

    explicit AccessLog(QObject* parent = nullptr);

    // More than 1000 lines: the 99 oldest go first. Then the line is added at the end.
    void append(const std::string& line);
    // Prefix "%2.2d/%2.2d/%d - %d:%2.2d:%2.2d - " with the local time of `seconds`, then `text`.
    static std::string stamped(std::int64_t seconds, const std::string& text);

    std::vector<std::string> lines() const;
    std::size_t size() const;

    // Called (on the appending thread) for each appended line; headless mode prints it.
    void setEcho(std::function<void(const std::string&)> echo);

signals:
    void lineAppended(const QString& line);

private:
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
    std::function<void(const std::string&)> echo_;
};

} // namespace kv::agent
