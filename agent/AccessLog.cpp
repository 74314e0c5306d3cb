#include "agent/AccessLog.h"

#include "common/Format.h"
#include "common/LocalTime.h"

namespace kv::agent {

AccessLog::AccessLog(QObject* parent) : QObject(parent) {}

void AccessLog::append(const std::string& line) {
    std::function<void(const std::string&)> echo;
    {
        std::lock_guard lock(mutex_);
        if (lines_.size() > kMaxLines)
            lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(kDropCount));
        lines_.push_back(line);
        echo = echo_;
    }
    if (echo)
        echo(line);
    emit lineAppended(QString::fromStdString(line));
}

std::string AccessLog::stamped(std::int64_t seconds, const std::string& text) {
    LocalTime t = toLocalTime(seconds);
    return format("%2.2d/%2.2d/%d - %d:%2.2d:%2.2d - ", t.month, t.day, t.year, t.hour, t.minute, t.second) + text;
}

std::vector<std::string> AccessLog::lines() const {
    std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

std::size_t AccessLog::size() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
}

void AccessLog::setEcho(std::function<void(const std::string&)> echo) {
    std::lock_guard lock(mutex_);
    echo_ = std::move(echo);
}

} // namespace kv::agent
