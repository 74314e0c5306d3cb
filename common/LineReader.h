#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kv {

// Reads text line by line with a bound on the line length, from memory or from a file.
// A line longer than the bound comes back in pieces of at most `maxChars` characters, each handled like a line;
// this is what a fixed line buffer of `maxChars + 1` bytes does, and several file formats rely on it.
class LineReader {
public:
    enum class Break {
        Keep,     // the piece comes back as read, line feed included
        LineFeed, // one trailing "\n" is removed
        CrLf,     // one trailing "\n" and a carriage return before it are removed
    };

    // Reads from bytes in memory; the bytes must outlive the reader.
    explicit LineReader(std::string_view bytes);
    // Reads from a file; ok() is false when it cannot be opened.
    static LineReader openFile(const std::string& path);

    LineReader(LineReader&&) noexcept;
    LineReader& operator=(LineReader&&) noexcept;
    ~LineReader();

    bool ok() const { return ok_; }

    // Reads the next piece into `line`. Returns false at the end of the input (nothing was read).
    bool next(std::string& line, std::size_t maxChars, Break lineBreak = Break::CrLf);

    // Bytes consumed so far.
    std::size_t position() const { return consumed_; }

private:
    LineReader() = default;
    bool fill();

    int fd_ = -1;
    bool ok_ = true;
    std::string_view memory_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t consumed_ = 0;
    bool eof_ = false;
};

} // namespace kv
