#pragma once

#include <QtGlobal>

#include <exception>
#include <utility>

namespace kv::gui {

// Wraps a slot so that no exception leaves it into Qt's event loop; what was thrown is reported as a warning.
template <typename F>
auto guarded(F f) {
    return [f = std::move(f)](auto&&... args) {
        try {
            f(std::forward<decltype(args)>(args)...);
        } catch (const std::exception& e) {
            qWarning("kv: a window action failed: %s", e.what());
        } catch (...) {
            qWarning("kv: a window action failed");
        }
    };
}

} // namespace kv::gui
