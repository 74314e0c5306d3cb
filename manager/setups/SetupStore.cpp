#include "manager/setups/SetupStore.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/LineReader.h"
#include "common/Text.h"
#include "manager/setups/SetupReader.h"
#include "manager/setups/SetupWriter.h"

namespace kv::setups {

bool isUsableSetupName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           !hasControlCharacter(name);
}

SetupStore::SetupStore(std::string workingFolder) : workingFolder_(std::move(workingFolder)) {}

std::string SetupStore::setupsFolder() const {
    return joinPath(workingFolder_, kSetupsFolderName);
}

std::string SetupStore::pathFor(std::string_view name) const {
    if (!name.empty() && name.front() == '/')
        return std::string(name);
    std::string file(name);
    file.append(kSetupExtension);
    return joinPath(setupsFolder(), file);
}

bool SetupStore::load(std::string_view name, ServerSetup& setup) const {
    const std::string path = pathFor(name);
    // Regular files only: a pipe or a device named like a setup would block the reader or never end.
    if (!fileExists(path))
        return false;
    auto bytes = readRegularFile(path, kMaxSetupFileBytes);
    if (!bytes)
        return false;
    if (!readSetupLines(*bytes, setup))
        return false;
    if (setup.m_csSetupDescription.empty())
        readLegacyDescription(setup);
    setup.countMaps();
    return true;
}

void SetupStore::readLegacyDescription(ServerSetup& setup) const {
    if (!isUsableSetupName(setup.m_csName))
        return;
    std::string file = setup.m_csName;
    file.append(kLegacyDescriptionExtension);
    const std::string path = joinPath(setupsFolder(), file);
    if (!fileExists(path))
        return;
    LineReader reader = LineReader::openFile(path);
    std::string line;
    if (reader.ok() && reader.next(line, kMaxSetupLine, LineReader::Break::CrLf))
        setup.m_csSetupDescription = decodeDescription(line);
}

bool SetupStore::loadLeagueFile(const std::string& path, ServerSetup& setup) const {
    std::string_view title = baseName(path);
    std::size_t dot = title.rfind('.');
    if (dot != std::string_view::npos)
        title = title.substr(0, dot);
    setup.m_csLeagueName.assign(title);
    return load(path.empty() || path.front() == '/' ? path : joinPath(workingFolder_, path), setup);
}

bool SetupStore::save(ServerSetup& setup, std::string* error) const {
    if (!isUsableSetupName(setup.m_csName)) {
        if (error)
            *error = "The server setup name \"" + setup.m_csName + "\" cannot be used as a file name.";
        return false;
    }
    setup.countMaps();
    makeDirectories(setupsFolder());
    // A setup holds its admin and player passwords.
    if (!writeFileAtomically(pathFor(setup.m_csName), writeSetupText(setup, SetupForm::Full), error, FlushToDisk::Yes,
                             FileAccess::OwnerOnly))
        return false;
    std::string legacy = setup.m_csName;
    legacy.append(kLegacyDescriptionExtension);
    removeFile(joinPath(setupsFolder(), legacy));
    return true;
}

bool SetupStore::saveLeagueForm(const ServerSetup& setup, const std::string& path, std::string* error) const {
    return writeFileAtomically(path, writeSetupText(setup, SetupForm::League), error);
}

} // namespace kv::setups
