#pragma once

#include <string_view>

namespace kv {

// Numbers in files, protocol lines and user fields follow one rule: leading blanks are skipped, an optional sign is
// taken, then decimal digits up to the first other character. Text without digits gives 0; nothing is reported.
// Values beyond the type's range saturate instead of wrapping.
int parseDecimalInt(std::string_view text);
long long parseDecimalLong(std::string_view text);

// The same rule with an optional decimal point and fraction ("  -12.5abc" gives -12.5).
double parseDecimalDouble(std::string_view text);

} // namespace kv
