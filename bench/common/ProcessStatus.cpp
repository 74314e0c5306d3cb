#include "bench/common/ProcessStatus.h"

#include "common/DecimalNumber.h"
#include "common/Files.h"

#include <chrono>
#include <sstream>
#include <unistd.h>
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

double cpuSeconds(pid_t pid) {
    // The fields after the command name, which is in parentheses and may hold blanks: utime and stime are the
    // 12th and 13th of them.
    std::string text = readFile("/proc/" + std::to_string(pid) + "/stat").value_or("");
    std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    long long ticks = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i)
        if (i >= 12)
            ticks += parseDecimalLong(field);
    return static_cast<double>(ticks) / static_cast<double>(::sysconf(_SC_CLK_TCK));
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
