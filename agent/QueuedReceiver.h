#pragma once

#include <QMetaObject>
#include <QObject>

#include <mutex>
#include <utility>

namespace kv::agent {

// Lets a worker thread hand a result to a main-thread object that may be destroyed meanwhile. The owner calls
// release() in its destructor; after that nothing more is posted, and what was posted before is dropped by Qt with
// the object. The lock makes "still there" and "post" one step, so a worker never posts to a dead object.
class QueuedReceiver {
public:
    explicit QueuedReceiver(QObject* target) : target_(target) {}

    void release() {
        std::lock_guard lock(mutex_);
        target_ = nullptr;
    }

    // Runs `call` on the target's thread later; false when the target has let go.
    template <typename Call>
    bool post(Call&& call) {
        std::lock_guard lock(mutex_);
        if (!target_)
            return false;
        return QMetaObject::invokeMethod(target_, std::forward<Call>(call), Qt::QueuedConnection);
    }

private:
    std::mutex mutex_;
    QObject* target_;
};

} // namespace kv::agent
