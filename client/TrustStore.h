#pragma once

#include "client/TrustEntry.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The trust file that kvsm and the manager share: which agent identity (certificate fingerprint) is trusted for
// which host and port, as SSH keeps known hosts. Lines that do not parse stay in the file as they are and never
// match. A change takes an exclusive lock on "<file>.lock", reads the file afresh and replaces it through a
// temporary file (mode 0600), so that two programs recording at once keep both entries and a reader never sees
// half a file. Nothing throws except std::bad_alloc; a failed call says why in error().
class TrustStore {
public:
    // A larger file is refused rather than read: it cannot be a list of agents written by us or by hand.
    static constexpr std::size_t kMaxFileBytes = 1024 * 1024;

    explicit TrustStore(std::string path);

    // "$XDG_DATA_HOME/KV Server Manager/known_agents", else the same below "~/.local/share"; empty without a home.
    static std::string defaultPath();

    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

    // `found` receives the entry of host:port (the first, should an edit have left two), or nothing.
    bool find(std::string_view host, unsigned port, std::optional<TrustEntry>& found);
    // Entries in file order; `unreadable` counts the lines that are neither entries, comments nor blank.
    bool list(std::vector<TrustEntry>& entries, std::size_t* unreadable = nullptr);
    // Trusts `fingerprint` (any form canonicalFingerprint() takes) for host:port from today, in place of what was
    // recorded for it.
    bool record(std::string_view host, unsigned port, std::string_view fingerprint);
    // record() for a first contact: only when there is still no entry for host:port once the file is locked
    // (another program may have recorded one since it was looked up); `existing` then receives that entry.
    bool recordFirst(std::string_view host, unsigned port, std::string_view fingerprint,
                     std::optional<TrustEntry>& existing);
    // `removed` tells whether there was an entry to remove.
    bool forget(std::string_view host, unsigned port, bool& removed);

private:
    // The file's lines without their line ends; none when the file does not exist yet.
    std::optional<std::vector<std::string>> readLines();
    bool writeLines(const std::vector<std::string>& lines);
    // Under the lock: reads the lines, lets `edit` change them and writes them back when it returns true.
    bool change(const std::function<bool(std::vector<std::string>&)>& edit);
    bool checkHost(std::string_view host);
    bool store(std::string_view host, unsigned port, std::string_view fingerprint, std::optional<TrustEntry>* existing);
    bool fail(std::string message);

    std::string path_;
    std::string error_;
};

} // namespace kv
