#include "common/Clock.h"

#include "common/LocalTime.h"

namespace kv {

std::int64_t SystemClock::nowSeconds() const { return currentSeconds(); }

} // namespace kv
