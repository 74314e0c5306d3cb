#pragma once

#include <QString>

#include <string>

class QLabel;
class QWidget;

namespace kv::manager::ui {

// Small pieces that the anti-cheat windows share.
inline QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A sunken one-line status line, named "status", for the library's progress texts.
QLabel* makeAntiCheatStatusLine(QWidget* parent);

} // namespace kv::manager::ui
