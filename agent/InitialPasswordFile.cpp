#include "agent/InitialPasswordFile.h"

#include "common/AtomicFile.h"

namespace kv::agent::initial_password_file {

bool write(const std::string& path, const std::string& password, std::string* error) {
    // The temporary file is 0600 from its creation, so the password is never readable by others, not even briefly.
    return writeFileAtomically(path, password + "\n", error, FlushToDisk::Yes, FileAccess::OwnerOnly);
}

} // namespace kv::agent::initial_password_file
