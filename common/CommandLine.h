#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Splits a command line that was built as one string into its arguments, with the quoting rules the game's command
// lines are written for: blanks separate arguments, double quotes group words and are removed, 2n backslashes before
// a quote give n backslashes and toggle quoting, 2n+1 give n backslashes and a literal quote, other backslashes are
// kept. No shell is involved, so nothing in the text is ever expanded or executed.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// Quotes one argument so that splitCommandLine gives it back unchanged.
std::string quoteArgument(std::string_view argument);

} // namespace kv
