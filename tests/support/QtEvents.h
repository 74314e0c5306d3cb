#pragma once

#include <QCoreApplication>

#include <chrono>
#include <functional>

namespace kv::test {

// The application object of a test program without windows (made once, never destroyed: workers may still post to
// it while static objects go). Window tests use guiApp() instead.
QCoreApplication& coreApp();

// Runs the event loop of this thread until `done` holds, for at most `bound`; whether it held.
bool spinEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(60));

} // namespace kv::test
