#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Texts are 8-bit strings; letter case is folded for ASCII letters only, as the game's files expect.
char toLowerAscii(char c);
std::string toLowerAscii(std::string_view text);

bool equalsNoCase(std::string_view a, std::string_view b);
// True when `text` begins with `prefix`, compared without regard to case over the prefix's length.
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// Position of `needle` in `text` without regard to case, or npos.
std::size_t findNoCase(std::string_view text, std::string_view needle);

// ASCII control characters (below 0x20, and DEL): what no single-line value may carry.
bool isControlCharacter(char c);
bool hasControlCharacter(std::string_view text);
// Splits comma-separated text; consecutive commas count as one separator, so no field comes back empty.
std::vector<std::string> splitCommas(std::string_view text);

// Removes trailing blanks (space, tab, CR, LF, VT, FF).
std::string_view trimRight(std::string_view text);
std::string_view trimLeft(std::string_view text);
std::string_view trim(std::string_view text);

// Removes one trailing line break: "\r\n" or "\n".
std::string_view chompLineBreak(std::string_view text);

// Replaces every occurrence of `from` (non-empty) with `to`.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

} // namespace kv
