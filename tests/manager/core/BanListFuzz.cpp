// Feeds arbitrary bytes to the ban list merge: the rows it keeps can always be written, merging the same text again
// adds nothing, and a list written and read back comes back whole (in reverse, as the design shows a file).
#include "manager/core/BanList.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace kv::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    BanList list;
    const std::size_t added = mergeBanListText(text, list);
    if (added != list.size())
        __builtin_trap();
    if (mergeBanListText(text, list) != 0)
        __builtin_trap();
    for (const BanEntry& entry : list) {
        if (entry.type.empty() || entry.value.empty() || !banEntryProblem(entry).empty())
            __builtin_trap();
        if (banLengthText(entry.endTime).empty())
            __builtin_trap();
    }

    const std::optional<std::string> written = banListText(list);
    if (!written)
        __builtin_trap();
    // Lines that grew past the format's limit (a long name gains its quotes) are read back in pieces; the rest must
    // survive the round trip exactly.
    bool fits = true;
    for (const BanEntry& entry : list)
        fits = fits && banFileLine(entry).size() <= kBanLineLimit;
    if (fits) {
        BanList again;
        mergeBanListText(*written, again);
        std::reverse(again.begin(), again.end());
        if (again != list)
            __builtin_trap();
    }

    // The first half merged over a list that already holds the second: the old rows stay below the new ones, and
    // no more rows come than the half has pieces of lines.
    const std::string_view first = text.substr(0, size / 2);
    BanList mixed;
    mergeBanListText(text.substr(size / 2), mixed);
    const BanList before = mixed;
    const std::size_t more = mergeBanListText(first, mixed);
    const auto pieces =
        static_cast<std::size_t>(std::count(first.begin(), first.end(), '\n')) + first.size() / kBanLineLimit + 1;
    if (more > pieces || mixed.size() != before.size() + more ||
        !std::equal(before.begin(), before.end(), mixed.begin() + static_cast<std::ptrdiff_t>(more)))
        __builtin_trap();
    return 0;
}
