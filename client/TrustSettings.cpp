#include "client/TrustSettings.h"

#include "client/TrustStore.h"

#include <mutex>

namespace kv {

namespace {

std::mutex settingsMutex;
TrustSettings processSettings; // guarded by settingsMutex

} // namespace

std::string TrustSettings::resolvedFile() const {
    return file.empty() ? TrustStore::defaultPath() : file;
}

TrustSettings processTrustSettings() {
    std::lock_guard lock(settingsMutex);
    return processSettings;
}

void setProcessTrustSettings(TrustSettings replacement) {
    std::lock_guard lock(settingsMutex);
    processSettings = std::move(replacement);
}

} // namespace kv
