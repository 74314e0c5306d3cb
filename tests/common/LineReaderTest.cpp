#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/LineReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace kv;
using Lines = std::vector<std::string>;

namespace {
Lines readAll(LineReader& reader, std::size_t maxChars, LineReader::Break brk = LineReader::Break::CrLf) {
    Lines lines;
    std::string line;
    while (reader.next(line, maxChars, brk))
        lines.push_back(line);
    return lines;
}
} // namespace

TEST(LineReader, RemovesLineBreaksAndKeepsALastLineWithoutOne) {
    LineReader r("one\r\ntwo\n\nlast");
    EXPECT_EQ(readAll(r, 100), (Lines{"one", "two", "", "last"}));
    LineReader lf("a\r\nb\n");
    EXPECT_EQ(readAll(lf, 100, LineReader::Break::LineFeed), (Lines{"a\r", "b"}));
    LineReader keep("a\nb");
    EXPECT_EQ(readAll(keep, 100, LineReader::Break::Keep), (Lines{"a\n", "b"}));
}

TEST(LineReader, LongLinesComeBackInPieces) {
    // A bound of 4 behaves like a 5-byte line buffer: the line feed counts toward the bound.
    LineReader r("abcdefghij\nxyz\n");
    EXPECT_EQ(readAll(r, 4, LineReader::Break::Keep), (Lines{"abcd", "efgh", "ij\n", "xyz\n"}));
    LineReader exact("abcd\nx");
    EXPECT_EQ(readAll(exact, 4, LineReader::Break::Keep), (Lines{"abcd", "\n", "x"}));
    LineReader empty("");
    std::string line = "stale";
    EXPECT_FALSE(empty.next(line, 10));
    EXPECT_EQ(line, "");
}

TEST(LineReader, FileInputMatchesMemoryInputAcrossBufferBoundaries) {
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)) + (i % 3 ? "\r\n" : "\n");
    text += std::string(200000, 'z'); // longer than the file buffer, no line break
    std::string path = testing::TempDir() + "/linereader-" + std::to_string(::getpid());
    ASSERT_TRUE(writeFileAtomically(path, text));
    LineReader fromFile = LineReader::openFile(path);
    ASSERT_TRUE(fromFile.ok());
    LineReader fromMemory(text);
    EXPECT_EQ(readAll(fromFile, 511), readAll(fromMemory, 511));
    EXPECT_EQ(fromFile.position(), text.size());
    removeFile(path);
    EXPECT_FALSE(LineReader::openFile(path).ok());
}
