#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::protocol {

// The size line of a download, "%d\n": the low 32 bits of the size, as the format has always carried it.
std::string formatSizeLine(std::int64_t size);

// Client side: the size from a size line by the decimal-number rule. A negative number (a file of 2 GiB or more
// on the agent, or a garbled line) gives no size: such a download cannot be carried out.
std::optional<std::int64_t> parseSizeLine(std::string_view line);

// Bytes in the next raw block of a download.
int nextBlockSize(std::int64_t size, std::int64_t moved);

// Agent side: whether an upload line ends the transfer (the end marker begins it, letter case ignored).
bool isEndMarker(std::string_view line, std::string_view marker);

// Client side: whether a reply line is the expected marker (the whole line, letter case ignored).
bool isMarker(std::string_view line, std::string_view marker);

} // namespace kv::protocol
