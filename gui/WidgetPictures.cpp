#include "gui/WidgetPictures.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <thread>

namespace kv::gui {

bool processEventsUntil(const std::function<bool()>& done, int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end && !done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

bool saveWidgetPicture(QWidget& widget, const std::string& folder, const char* name) {
    widget.show();
    QCoreApplication::processEvents();
    const std::string path = folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
    const bool ok = widget.grab().save(QString::fromStdString(path), "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok;
}

} // namespace kv::gui
