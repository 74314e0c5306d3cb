#pragma once

#include <QFrame>

class QLabel;

namespace kv::manager::ui {

// Covers the main window while the library is read at start.
class CSplashWnd : public QFrame {
    Q_OBJECT
public:
    static constexpr const char* kText = "Loading Server Setup Information, please wait...";

    explicit CSplashWnd(QWidget* parent = nullptr);

    QString text() const;
    // Centres the splash over `window` (or the screen when it is not shown yet).
    void placeOver(const QWidget* window);

private:
    QLabel* label_ = nullptr;
};

} // namespace kv::manager::ui
