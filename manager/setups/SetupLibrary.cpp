#include "manager/setups/SetupLibrary.h"

#include "common/AtomicFile.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/LocalTime.h"
#include "common/Text.h"
#include "manager/setups/SetupReader.h"

#include <algorithm>
#include <tuple>

namespace kv::setups {

namespace {

bool hasSetupExtension(std::string_view file) {
    return file.size() > kSetupExtension.size() &&
           equalsNoCase(file.substr(file.size() - kSetupExtension.size()), kSetupExtension);
}

std::string fileTitle(std::string_view path) {
    std::string_view name = baseName(path);
    std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

LibraryResult refused(std::string message) { return LibraryResult{false, std::move(message), {}}; }

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
    for (const std::string& file : listDirectory(folder)) {
        if (!hasSetupExtension(file))
            continue;
        std::string path = joinPath(folder, file);
        // Regular files only: a folder is no setup, and a pipe or device would block or never end.
        auto bytes = fileExists(path) ? readFile(path) : std::nullopt;
        if (!bytes)
            continue;
        if (bytes->empty()) {
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

LibraryResult SetupLibrary::copy(std::string_view name) const {
    ServerSetup setup;
    if (!isUsableSetupName(name) || !store_.load(name, setup))
        return refused(format("The server setup \"%.*s\" could not be read.", static_cast<int>(name.size()),
                              name.data()));
    const std::string copyName = setup.m_csName + " (Copy)";
    // The tree refuses a copy whose name its category already holds; a file of that name anywhere would be
    // overwritten all the same, so it is refused too.
    bool exists = fileExists(store_.pathFor(copyName));
    const LibraryCategory category = categoryOf(setup);
    for (const LibraryEntry& entry : refresh())
        exists = exists || (entry.name == copyName && entry.root == category.root && entry.category == category.label);
    if (exists)
        return refused("You have already made a copy of this server setup.  You must rename the copy before "
                       "creating another copy of it.");
    setup.m_csName = copyName;
    std::string error;
    if (!store_.save(setup, &error))
        return refused(error);
    return LibraryResult{true, {}, copyName};
}

LibraryResult SetupLibrary::remove(std::string_view name) const {
    const std::string path = store_.pathFor(name);
    if (!isUsableSetupName(name) || !fileExists(path))
        return refused(format("There is no server setup named \"%.*s\".", static_cast<int>(name.size()),
                              name.data()));
    if (!removeFile(path))
        return refused(format("The server setup file %s could not be deleted.", path.c_str()));
    removeFile(joinPath(store_.setupsFolder(), std::string(name) + std::string(kLegacyDescriptionExtension)));
    return LibraryResult{true, {}, std::string(name)};
}

bool SetupLibrary::importNameExists(const std::string& sourcePath) const {
    const std::string title = fileTitle(sourcePath);
    return isUsableSetupName(title) && fileExists(store_.pathFor(title));
}

LibraryResult SetupLibrary::import(const std::string& sourcePath, ImportChoice choice) const {
    auto bytes = fileExists(sourcePath) ? readFile(sourcePath) : std::nullopt;
    if (!bytes)
        return refused(format("The file %s could not be read.", sourcePath.c_str()));
    ServerSetup probe;
    if (!readSetupLines(*bytes, probe))
        return refused(format("The file %s is not a server setup (it names no setup).", sourcePath.c_str()));
    const std::string title = fileTitle(sourcePath);
    if (!isUsableSetupName(title))
        return refused(format("The file %s has no usable name.", sourcePath.c_str()));
    makeDirectories(store_.setupsFolder());

    std::string target = store_.pathFor(title);
    std::string addedName = title;
    const bool exists = fileExists(target);
    if (exists && choice == ImportChoice::RefuseExisting)
        return refused("The server setup you are trying to add already exists in your server configuration list.");
    if (exists && choice == ImportChoice::Rename) {
        LocalTime t = toLocalTime(clock_.nowSeconds());
        addedName = format("%s - Added %d-%d-%d at %2.2d%2.2d", title.c_str(), t.month, t.day, t.year, t.hour,
                           t.minute);
        target = store_.pathFor(addedName);
        if (fileExists(target))
            return refused(format("The server setup \"%s\" already exists.", addedName.c_str()));
    }
    std::string error;
    if (!writeFileAtomically(target, *bytes, &error))
        return refused(error);
    if (addedName != title) {
        ServerSetup setup;
        store_.load(addedName, setup);
        setup.m_csName = addedName;
        if (!store_.save(setup, &error))
            return refused(error);
    }
    return LibraryResult{true, {}, addedName != title ? addedName : probe.m_csName};
}

} // namespace kv::setups
