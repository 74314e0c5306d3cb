#include "agent/MemorySampler.h"

#include "common/DecimalNumber.h"
#include "common/Files.h"

#include <cctype>
#include <dirent.h>
#include <memory>

namespace kv::agent {

namespace {

// Value in kB of the line "Key:   1234 kB" in a /proc text, or -1.
std::int64_t kilobytesOf(std::string_view text, std::string_view key) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ':')
            return parseDecimalLong(line.substr(key.size() + 1));
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return -1;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

} // namespace

MemorySampler::MemorySampler(std::string procDir) : procDir_(std::move(procDir)) {}

std::optional<ProcessMemory> MemorySampler::parseStatus(std::string_view text) {
    std::int64_t rss = kilobytesOf(text, "VmRSS");
    if (rss < 0)
        return std::nullopt; // a zombie or a kernel thread has no memory lines
    ProcessMemory m;
    m.workingSet = rss * 1024;
    m.peakWorkingSet = std::max<std::int64_t>(kilobytesOf(text, "VmHWM"), 0) * 1024;
    m.pageFile = std::max<std::int64_t>(kilobytesOf(text, "VmSwap"), 0) * 1024;
    return m;
}

void MemorySampler::parseMeminfo(std::string_view text, SystemMemory& out) {
    out.availableBytes = std::max<std::int64_t>(kilobytesOf(text, "MemAvailable"), 0) * 1024;
    out.totalBytes = std::max<std::int64_t>(kilobytesOf(text, "MemTotal"), 0) * 1024;
}

long MemorySampler::parseLoadavgThreads(std::string_view text) {
    std::size_t slash = text.find('/');
    return slash == std::string_view::npos ? 0 : static_cast<long>(parseDecimalLong(text.substr(slash + 1)));
}

std::optional<ProcessMemory> MemorySampler::process(pid_t pid) const {
    if (pid <= 0)
        return std::nullopt;
    auto text = readFile(procDir_ + "/" + std::to_string(pid) + "/status");
    if (!text)
        return std::nullopt;
    return parseStatus(*text);
}

SystemMemory MemorySampler::system() const {
    SystemMemory s;
    if (auto text = readFile(procDir_ + "/meminfo"))
        parseMeminfo(*text, s);
    if (auto text = readFile(procDir_ + "/loadavg"))
        s.threadCount = parseLoadavgThreads(*text);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(procDir_.c_str()));
    if (dir) {
        while (dirent* e = ::readdir(dir.get())) {
            const char* n = e->d_name;
            bool numeric = *n != '\0';
            for (; *n; ++n)
                numeric = numeric && std::isdigit(static_cast<unsigned char>(*n));
            if (numeric)
                ++s.processCount;
        }
    }
    return s;
}

} // namespace kv::agent
