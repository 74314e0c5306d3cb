#include "common/InstallLayout.h"

#include "common/Files.h"

#include <unistd.h>

namespace kv {

namespace {

constexpr std::string_view kPackageFolder = "kv-server-manager";

// <prefix> of a program folder <prefix>/bin; empty for a relative folder.
std::string prefixOf(std::string_view programFolder) {
    if (programFolder.empty() || programFolder.front() != '/')
        return {};
    while (programFolder.size() > 1 && programFolder.back() == '/')
        programFolder.remove_suffix(1);
    const std::string_view prefix = dirName(programFolder);
    return prefix.empty() ? std::string("/") : std::string(prefix);
}

std::string belowPrefix(std::string_view programFolder, std::string_view relative) {
    const std::string prefix = prefixOf(programFolder);
    return prefix.empty() ? std::string() : joinPath(prefix, relative);
}

} // namespace

std::string runningProgramFolder() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0 || path[0] != '/')
        return {};
    return std::string(dirName(std::string_view(path, static_cast<std::size_t>(n))));
}

std::string installedLibraryFolder(std::string_view programFolder) {
    return belowPrefix(programFolder, joinPath("lib", kPackageFolder));
}

std::string installedDataFolder(std::string_view programFolder) {
    return belowPrefix(programFolder, joinPath("share", kPackageFolder));
}

std::string installedHelpFolder(std::string_view programFolder) {
    return belowPrefix(programFolder, joinPath(joinPath("share/doc", kPackageFolder), "help"));
}

std::vector<std::string> companionCandidates(std::string_view programFolder, std::string_view fileName) {
    if (programFolder.empty() || programFolder.front() != '/')
        return {};
    return {joinPath(programFolder, fileName), joinPath(installedLibraryFolder(programFolder), fileName)};
}

std::string firstExistingFile(const std::vector<std::string>& candidates) {
    for (const std::string& path : candidates)
        if (!path.empty() && path.front() == '/' && fileExists(path))
            return path;
    return {};
}

} // namespace kv
