#pragma once

#include <chrono>
#include <functional>

namespace kv::test {

// Calls `predicate` every `step` until it is true (returns true) or `timeout` has passed (returns false). Tests wait
// for what they expect instead of sleeping a fixed time.
bool waitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step = std::chrono::milliseconds(10));

} // namespace kv::test
