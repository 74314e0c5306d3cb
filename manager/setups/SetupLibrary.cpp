#include "manager/setups/SetupLibrary.h"

#include "common/AtomicFile.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"
#include "common/Text.h"
#include "manager/setups/SetupReader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <tuple>

namespace kv::setups {

namespace {

// An empty setup file is removed at a refresh, but not while something may still be writing it (a download).
constexpr long long kEmptyFileGraceSeconds = 5;

bool hasSetupExtension(std::string_view file) {
    return file.size() > kSetupExtension.size() &&
           equalsNoCase(file.substr(file.size() - kSetupExtension.size()), kSetupExtension);
}

std::string fileTitle(std::string_view path) {
    std::string_view name = baseName(path);
    std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

LibraryResult refused(std::string message) {
    return LibraryResult{false, std::move(message), {}, {}};
}

std::string quotedName(std::string_view name) {
    return format("\"%.*s\"", static_cast<int>(name.size()), name.data());
}

// Same inode: on a file system that ignores letter case, "Alpha" and "alpha" are one file.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string realPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return {};
    std::string result(resolved);
    std::free(resolved);
    return result;
}

} // namespace

void sortEntries(std::vector<LibraryEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const LibraryEntry& a, const LibraryEntry& b) {
        return std::tie(a.root, a.category, a.name) < std::tie(b.root, b.category, b.name);
    });
}

SetupLibrary::SetupLibrary(std::string workingFolder, const Clock& clock)
    : store_(std::move(workingFolder)), clock_(clock) {}

std::vector<LibraryEntry> SetupLibrary::refresh() const {
    const std::string folder = store_.setupsFolder();
    makeDirectories(folder);
    std::vector<LibraryEntry> entries;
    ServerSetup setup;
    const long long now = clock_.nowSeconds();
    for (const std::string& file : listDirectory(folder)) {
        if (!hasSetupExtension(file))
            continue;
        std::string path = joinPath(folder, file);
        // Regular files of a sane size only: a folder is no setup, a pipe or device would block or never end.
        auto bytes = readRegularFile(path, kMaxSetupFileBytes);
        if (!bytes)
            continue;
        if (bytes->empty()) {
            auto changed = fileModifiedSeconds(path);
            if (changed && now - *changed >= kEmptyFileGraceSeconds)
                removeFile(path);
            continue;
        }
        setup.reset();
        if (!readSetupLines(*bytes, setup))
            continue;
        setup.countMaps();
        LibraryCategory category = categoryOf(setup);
        entries.push_back(LibraryEntry{category.root, std::move(category.label), setup.m_csName, std::move(path)});
    }
    return entries;
}

std::string SetupLibrary::existingFileNamed(std::string_view name) const {
    const std::string wanted = std::string(name) + std::string(kSetupExtension);
    for (const std::string& file : listDirectory(store_.setupsFolder()))
        if (equalsNoCase(file, wanted))
            return joinPath(store_.setupsFolder(), file);
    return {};
}

std::string SetupLibrary::pathOf(std::string_view nameOrPath) const {
    if (!nameOrPath.empty() && nameOrPath.front() == '/')
        return std::string(nameOrPath);
    return isUsableSetupName(nameOrPath) ? store_.pathFor(nameOrPath) : std::string();
}

LibraryResult SetupLibrary::copy(std::string_view nameOrPath) const {
    const std::string source = pathOf(nameOrPath);
    ServerSetup setup;
    if (source.empty() || !store_.load(source, setup))
        return refused(format("The server setup %s could not be read.", quotedName(nameOrPath).c_str()));
    const std::string copyName = setup.m_csName + " (Copy)";
    if (!isUsableSetupName(copyName))
        return refused(format("The server setup name %s cannot be used as a file name.", quotedName(copyName).c_str()));
    // Names that differ only in letter case are the same setup to the administrator.
    if (!existingFileNamed(copyName).empty())
        return refused("You have already made a copy of this server setup.  You must rename the copy before "
                       "creating another copy of it.");
    setup.m_csName = copyName;
    std::string error;
    if (!store_.save(setup, &error))
        return refused(error);
    return LibraryResult{true, {}, copyName, store_.pathFor(copyName)};
}

LibraryResult SetupLibrary::remove(std::string_view nameOrPath) const {
    const std::string path = pathOf(nameOrPath);
    // Only files of the library itself: a path given from outside must not delete anything else.
    if (path.empty() || dirName(path) != store_.setupsFolder() || !hasSetupExtension(baseName(path)) ||
        !fileExists(path))
        return refused(format("There is no server setup named %s.", quotedName(nameOrPath).c_str()));
    if (!removeFile(path))
        return refused(format("The server setup file %s could not be deleted.", path.c_str()));
    const std::string title = fileTitle(path);
    removeFile(joinPath(store_.setupsFolder(), title + std::string(kLegacyDescriptionExtension)));
    return LibraryResult{true, {}, title, path};
}

bool SetupLibrary::importNameExists(const std::string& sourcePath) const {
    const std::string title = fileTitle(sourcePath);
    return isUsableSetupName(title) && !existingFileNamed(title).empty();
}

LibraryResult SetupLibrary::import(const std::string& sourcePath, ImportChoice choice) const {
    auto bytes = readRegularFile(sourcePath, kMaxSetupFileBytes);
    if (!bytes)
        return refused(format("The file %s could not be read.", sourcePath.c_str()));
    ServerSetup probe;
    if (!readSetupLines(*bytes, probe))
        return refused(format("The file %s is not a server setup (it names no setup).", sourcePath.c_str()));
    const std::string title = fileTitle(sourcePath);
    if (!isUsableSetupName(title))
        return refused(format("The file %s has no usable setup name.", sourcePath.c_str()));
    makeDirectories(store_.setupsFolder());

    std::string target = existingFileNamed(title);
    const bool exists = !target.empty();
    if (!exists)
        target = store_.pathFor(title);
    // Adding a library file onto itself must not truncate it: there is nothing to do.
    if (exists && realPath(target) == realPath(sourcePath))
        return LibraryResult{true, {}, probe.m_csName, target};
    if (exists && choice == ImportChoice::RefuseExisting)
        return refused("The server setup you are trying to add already exists in your server configuration list.");

    std::string addedName = title;
    if (exists && choice == ImportChoice::Rename) {
        LocalTime t = toLocalTime(clock_.nowSeconds());
        const std::string dated =
            format("%s - Added %d-%d-%d at %2.2d%2.2d", title.c_str(), t.month, t.day, t.year, t.hour, t.minute);
        addedName = dated;
        // A second import within the same minute gets a further number rather than replacing the first.
        for (int n = 2; !existingFileNamed(addedName).empty(); ++n)
            addedName = format("%s (%d)", dated.c_str(), n);
        target = store_.pathFor(addedName);
    }
    std::string error;
    if (!writeFileAtomically(target, *bytes, &error, FlushToDisk::Yes, FileAccess::OwnerOnly)) // it holds passwords
        return refused(error);
    if (addedName != title) {
        ServerSetup setup;
        store_.load(target, setup);
        setup.m_csName = addedName;
        if (!store_.save(setup, &error)) {
            removeFile(target);
            return refused(error);
        }
    }
    return LibraryResult{true, {}, addedName != title ? addedName : probe.m_csName, target};
}

bool SetupLibrary::nameInUse(std::string_view name, const std::string& ownFile) const {
    const std::string wanted = std::string(name) + std::string(kSetupExtension);
    for (const std::string& file : listDirectory(store_.setupsFolder())) {
        const std::string path = joinPath(store_.setupsFolder(), file);
        if (equalsNoCase(file, wanted) && path != ownFile && !sameFile(path, ownFile))
            return true;
    }
    return false;
}

LibraryResult SetupLibrary::saveEdited(ServerSetup& setup, const std::string& ownFile) const {
    if (!isUsableSetupName(setup.m_csName))
        return refused(
            format("The server setup name %s cannot be used as a file name.", quotedName(setup.m_csName).c_str()));
    if (nameInUse(setup.m_csName, ownFile))
        return refused("The name you selected for this server setup is already in use.  Please enter another name.");
    std::string error;
    if (!store_.save(setup, &error))
        return refused(error.empty()
                           ? format("The server setup %s could not be saved.", quotedName(setup.m_csName).c_str())
                           : error);
    const std::string saved = store_.pathFor(setup.m_csName);
    // A rename: the old file goes only now that the new one is in place, and never when both names are one file.
    if (!ownFile.empty() && ownFile != saved && !sameFile(ownFile, saved))
        remove(ownFile);
    return LibraryResult{true, {}, setup.m_csName, saved};
}

} // namespace kv::setups
