#pragma once

#include "manager/core/BanList.h"

#include <string>
#include <string_view>

namespace kv::core {

// The local copy of a host's ban list: "BanFile<address>.txt" in the working folder. An agent on another port than
// the default one gets "BanFile<address>_<port>.txt", so that two agents on one address never share a file; the
// default port, written or not, names the same file as the bare address. Empty when the address cannot name a plain
// file (anything but letters, digits, dots and hyphens before the port, a port that is not 1 to 65535, too long).
std::string hostBanFileName(std::string_view address);

// Moves `path` aside to "<path>.old" (replacing an older one) before a download, so that a host without a list can
// never show, and later send back, what an earlier exchange left. True when `path` is gone afterwards.
bool setAsideBanFile(const std::string& path, std::string* error = nullptr);

// What precedes every upload: `path` replaced with the list (atomically), then the list added to the record
// MasterBanList.txt in `folder` (only lines it does not hold; a record that cannot be written is skipped silently).
// False with `error` when `path` could not be written: nothing may be sent then.
bool storeBanListForUpload(const std::string& folder, const std::string& path, const BanList& list,
                           std::string* error = nullptr);

} // namespace kv::core
