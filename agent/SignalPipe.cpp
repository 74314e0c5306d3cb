#include "agent/SignalPipe.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kv::agent {

namespace {
std::atomic<int> g_writeFd{-1};

extern "C" void onSignal(int signal) {
    int saved = errno;
    unsigned char byte = static_cast<unsigned char>(signal);
    int fd = g_writeFd.load();
    if (fd >= 0) {
        [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}
} // namespace

SignalPipe::SignalPipe(QObject* parent) : QObject(parent) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    readFd_ = fds[0];
    writeFd_ = fds[1];
    g_writeFd.store(writeFd_);
    notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { drain(); });
    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    // A closed terminal or "systemctl kill -s HUP" must not end the agent without saving and leave the server.
    ::sigaction(SIGHUP, &action, nullptr);
    // A vanished reader of our standard output (a closed terminal) must not end the agent.
    std::signal(SIGPIPE, SIG_IGN);
}

SignalPipe::~SignalPipe() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    g_writeFd.store(-1);
    notifier_.reset();
    if (readFd_ >= 0)
        ::close(readFd_);
    if (writeFd_ >= 0)
        ::close(writeFd_);
}

void SignalPipe::drain() {
    unsigned char bytes[16];
    ssize_t n = ::read(readFd_, bytes, sizeof bytes);
    if (n > 0)
        emit terminationRequested(bytes[n - 1]);
}

} // namespace kv::agent
