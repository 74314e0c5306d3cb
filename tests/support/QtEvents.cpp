#include "tests/support/QtEvents.h"

#include <QElapsedTimer>

namespace kv::test {

QCoreApplication& coreApp() {
    if (QCoreApplication* existing = QCoreApplication::instance())
        return *existing;
    static int argc = 1;
    static char name[] = "kv_tests";
    static char* argv[] = {name, nullptr};
    static auto* instance = new QCoreApplication(argc, argv);
    return *instance;
}

bool spinEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > bound.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace kv::test
