#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace kv::agent {

// Delivers SIGTERM, SIGINT and SIGHUP to the event loop: the handler only writes one byte into a pipe, whose read end a
// socket notifier watches. One instance per process.
class SignalPipe : public QObject {
    Q_OBJECT
public:
    explicit SignalPipe(QObject* parent = nullptr);
    ~SignalPipe() override;

    bool ok() const { return readFd_ >= 0; }

signals:
    void terminationRequested(int signal);

private:
    void drain();

    int readFd_ = -1;
    int writeFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace kv::agent
