#include "manager/remote/RemoteBinding.h"

#include "common/Files.h"
#include "common/InstallLayout.h"

#include <cerrno>

namespace kv::remote {

std::vector<std::string> RemoteBinding::candidatePaths(const std::string& programFolder) {
    return companionCandidates(programFolder, KVSM_REMOTE_CONTROL_LIBRARY);
}

RemoteBinding RemoteBinding::bind(const std::vector<std::string>& candidates, const std::string& trustFile) {
    RemoteBinding result;
    result.path_ = candidates.empty() ? std::string(KVSM_REMOTE_CONTROL_LIBRARY) : candidates.front();
    result.errorCode_ = ENOENT;
    result.detail_ = "the remote control library was not found";
    for (const std::string& path : candidates) {
        // dlopen with a name without a slash would search the system's folders; only absolute paths are taken.
        if (path.empty() || path.front() != '/' || !fileExists(path))
            continue;
        result.path_ = path;
        auto library = std::make_shared<RemoteControlLibrary>();
        if (!library->load(path)) {
            result.errorCode_ = ENOEXEC;
            result.detail_ = library->error();
            return result;
        }
        if (!library->setTrustFile(trustFile.empty() ? nullptr : trustFile.c_str(), KVSM_TRUST_ON_FIRST_USE)) {
            result.errorCode_ = EINVAL;
            result.detail_ = "the remote control library does not take the trust file " + trustFile;
            return result;
        }
        result.library_ = std::move(library);
        result.errorCode_ = 0;
        result.detail_.clear();
        return result;
    }
    return result;
}

} // namespace kv::remote
