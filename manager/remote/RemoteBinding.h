#pragma once

#include "client/RemoteControlLibrary.h"

#include <memory>
#include <string>
#include <vector>

namespace kv::remote {

// The client library as the manager binds it once at start. Remote support is on exactly when library() is set:
// the file was found, its version matches and every export resolved.
class RemoteBinding {
public:
    // Where the library is looked for, in order: the program's own folder, then the install's library folder
    // (<program folder>/../lib/kv-server-manager). Never the working folder or the current folder, which others may
    // write to; nothing for a relative program folder.
    static std::vector<std::string> candidatePaths(const std::string& programFolder);

    // Binds the first candidate that exists. When one is bound, the agents' identities are checked against
    // `trustFile` (the file kvsm uses; empty: the library's default), trusting an agent on first contact.
    static RemoteBinding bind(const std::vector<std::string>& candidates, const std::string& trustFile);

    // Null when remote support is off.
    std::shared_ptr<const RemoteControlLibrary> library() const { return library_; }
    bool available() const { return library_ != nullptr; }

    // For the warning when support is off: the path that was tried (the first candidate when none exists), a
    // system error number, and what went wrong in words.
    const std::string& path() const { return path_; }
    int errorCode() const { return errorCode_; }
    const std::string& detail() const { return detail_; }

private:
    std::shared_ptr<const RemoteControlLibrary> library_;
    std::string path_;
    int errorCode_ = 0;
    std::string detail_;
};

} // namespace kv::remote
