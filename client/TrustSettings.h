#pragma once

#include <string>

namespace kv {

// What a client does with an agent that the trust file does not know yet (one whose recorded identity differs is
// always refused).
enum class TrustPolicy {
    TrustOnFirstUse = 0, // record its identity and go on, as SSH does with a new host
    KnownOnly = 1,       // refuse it: only agents trusted beforehand are talked to
};

struct TrustSettings {
    std::string file; // empty: TrustStore::defaultPath()
    TrustPolicy policy = TrustPolicy::TrustOnFirstUse;

    // The file to use, as it is named at this moment (the default follows XDG_DATA_HOME and HOME).
    std::string resolvedFile() const;
};

// The library's settings for every client object whose options name none; SetTrustFile changes them. Taken at each
// contact, so a change holds for every later connection.
TrustSettings processTrustSettings();
void setProcessTrustSettings(TrustSettings settings);

} // namespace kv
