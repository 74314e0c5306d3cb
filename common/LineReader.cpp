#include "common/LineReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace kv {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

LineReader::LineReader(std::string_view bytes) : memory_(bytes), begin_(0), end_(bytes.size()), eof_(true) {}

LineReader LineReader::openFile(const std::string& path) {
    LineReader reader;
    reader.fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (reader.fd_ < 0) {
        reader.ok_ = false;
        reader.eof_ = true;
        return reader;
    }
    reader.buffer_ = std::make_unique<char[]>(kBufferSize);
    return reader;
}

LineReader::LineReader(LineReader&& other) noexcept { *this = std::move(other); }

LineReader& LineReader::operator=(LineReader&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        ok_ = other.ok_;
        memory_ = other.memory_;
        buffer_ = std::move(other.buffer_);
        begin_ = other.begin_;
        end_ = other.end_;
        consumed_ = other.consumed_;
        eof_ = other.eof_;
    }
    return *this;
}

LineReader::~LineReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool LineReader::fill() {
    if (eof_ || fd_ < 0)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    memory_ = std::string_view(buffer_.get(), end_);
    if (end_ == kBufferSize)
        return true;
    for (;;) {
        ssize_t n = ::read(fd_, buffer_.get() + end_, kBufferSize - end_);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            eof_ = true;
            return false;
        }
        end_ += static_cast<std::size_t>(n);
        memory_ = std::string_view(buffer_.get(), end_);
        return true;
    }
}

bool LineReader::next(std::string& line, std::size_t maxChars, Break lineBreak) {
    line.clear();
    if (maxChars == 0)
        return false;
    bool any = false;
    while (line.size() < maxChars) {
        if (begin_ == end_ && !fill())
            break;
        std::size_t want = std::min(maxChars - line.size(), end_ - begin_);
        const char* start = memory_.data() + begin_;
        const void* lf = std::memchr(start, '\n', want);
        std::size_t take = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) + 1 : want;
        line.append(start, take);
        begin_ += take;
        consumed_ += take;
        any = true;
        if (lf)
            break;
    }
    if (!any)
        return false;
    if (lineBreak != Break::Keep && !line.empty() && line.back() == '\n') {
        line.pop_back();
        if (lineBreak == Break::CrLf && !line.empty() && line.back() == '\r')
            line.pop_back();
    }
    return true;
}

} // namespace kv
