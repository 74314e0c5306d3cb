#pragma once

#include <optional>
#include <string>

namespace kv::cli {

// Asks on the controlling terminal (/dev/tty), so that the question reaches the user even when standard input and
// output are redirected; with `echo` false the answer is not shown as it is typed. The first line of the answer, or
// empty when there is no terminal.
std::optional<std::string> askOnTerminal(const std::string& prompt, bool echo);

} // namespace kv::cli
