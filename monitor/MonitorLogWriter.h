#pragma once

#include <string>

namespace kv::monitor {

class MonitorSource;

// Writes every line of `source`, oldest first, to `path` ("Save To Disk"): stamped lines with CR LF, or the stored
// texts with LF. The lines are copied out at once when the save begins, so the file holds exactly the lines present
// then, however the list is trimmed meanwhile, and the list is never locked while the disk is written. The file
// replaces an existing one only when complete. False (with `error`) when it cannot be written.
bool writeMonitorLog(const MonitorSource& source, const std::string& path, bool stamped, std::string* error = nullptr);

} // namespace kv::monitor
