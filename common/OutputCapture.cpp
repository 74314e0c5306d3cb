#include "common/OutputCapture.h"

#include <cerrno>
#include <memory>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace kv {

namespace {
constexpr std::size_t kReadSize = 64 * 1024;
} // namespace

OutputCapture::OutputCapture(UniqueFd pipe, OutputLineSplitter::LongLines policy, Sink& sink)
    : pipe_(std::move(pipe)), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), splitter_(policy), sink_(sink) {
    thread_ = std::thread([this] { run(); });
}

OutputCapture::~OutputCapture() {
    stop();
    if (thread_.joinable())
        thread_.join();
}

void OutputCapture::stop() {
    stopping_.store(true);
    if (wake_.valid()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_.get(), &one, sizeof one);
    }
}

void OutputCapture::run() {
    try {
        const std::unique_ptr<char[]> buffer = std::make_unique<char[]>(kReadSize);
        std::vector<std::string_view> lines;
        lines.reserve(1024);
        while (!stopping_.load()) {
            pollfd fds[2] = {{pipe_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
            const int ready = ::poll(fds, wake_.valid() ? 2 : 1, -1);
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            if (fds[1].revents != 0 || stopping_.load())
                break;
            const ssize_t n = ::read(pipe_.get(), buffer.get(), kReadSize);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n <= 0)
                break; // the server has ended and the pipe is closed
            if (splitter_.ended())
                continue;
            lines.clear();
            splitter_.split(std::string_view(buffer.get(), static_cast<std::size_t>(n)), lines);
            if (!lines.empty()) {
                sink_.linesCaptured(lines);
                linesRead_.fetch_add(lines.size(), std::memory_order_relaxed);
            }
            if (splitter_.ended() && !cut_.exchange(true))
                sink_.captureCut();
        }
    } catch (...) {
        // Out of memory while storing a line: capture ends, the server goes on.
    }
    pipe_.reset();
    finished_.store(true);
    sink_.captureEnded();
}

} // namespace kv
