#pragma once

#include <functional>
#include <string>

class QWidget;

namespace kv::gui {

// For the programs that render our windows into the documentation's pictures.

// Runs the event loop until `done` or `milliseconds` have passed; the final value of `done`.
bool processEventsUntil(const std::function<bool()>& done, int milliseconds);

// Shows the widget, lets it lay itself out, and saves it as <folder>/<name> (PNG); says on standard output what it
// wrote or failed to write.
bool saveWidgetPicture(QWidget& widget, const std::string& folder, const char* name);

} // namespace kv::gui
