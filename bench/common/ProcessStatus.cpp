#include "bench/common/ProcessStatus.h"

#include "common/DecimalNumber.h"
#include "common/Files.h"

#include <chrono>
#include <string>

namespace kv::bench {

namespace {
long field(const std::string& text, const std::string& key) {
    std::size_t at = text.find("\n" + key + ":");
    return at == std::string::npos ? 0 : static_cast<long>(parseDecimalLong(text.substr(at + key.size() + 2, 32)));
}
} // namespace

ProcessFigures ProcessFigures::read(pid_t pid) {
    std::string text = "\n" + readFile("/proc/" + std::to_string(pid) + "/status").value_or("");
    return {field(text, "Threads"), field(text, "VmHWM"), field(text, "VmRSS")};
}

void ThreadPeakSampler::start() {
    stop();
    peak_ = ProcessFigures::read(pid_).threads;
    running_ = true;
    thread_ = std::thread([this] {
        while (running_) {
            long now = ProcessFigures::read(pid_).threads;
            if (now > peak_)
                peak_ = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
}

long ThreadPeakSampler::stop() {
    running_ = false;
    if (thread_.joinable())
        thread_.join();
    return peak_;
}

} // namespace kv::bench
