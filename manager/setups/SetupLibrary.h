#pragma once

#include "manager/setups/LibraryCategory.h"
#include "manager/setups/SetupStore.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv {
class Clock;
}

namespace kv::setups {

// One setup of the library as the tree shows it.
struct LibraryEntry {
    LibraryRoot root = LibraryRoot::Standard;
    std::string category;
    std::string name; // m_csName, the label of the setup node
    std::string path; // the file it was read from
};

// Standard before Tournament, then category, then name (byte order).
void sortEntries(std::vector<LibraryEntry>& entries);

// What an operation on the library did; `message` explains a refusal or failure.
struct LibraryResult {
    bool ok = false;
    std::string message;
    std::string name; // the setup created or touched
    std::string path; // its file
};

enum class ImportChoice {
    RefuseExisting, // a setup file of the same name is left alone and the import refused
    Replace,        // copy over the existing file
    Rename,         // add under "<title> - Added <m>-<d>-<yyyy> at <hhmm>"
};

// The setup library of one working folder: listing, copy, delete and import.
class SetupLibrary {
public:
    SetupLibrary(std::string workingFolder, const Clock& clock);

    const SetupStore& store() const { return store_; }

    // Lists the library (creating its folder when missing): empty setup files are deleted, files that cannot be
    // read or name no setup are skipped. Entries come in folder order; sortEntries orders them for display.
    std::vector<LibraryEntry> refresh() const;

    // The operations take a setup name of the library or the absolute path of a setup file; a tree node passes its
    // own file, since a file's title and the setup name inside it may differ. Names that differ only in letter case
    // count as the same name.

    // Saves a copy of the setup named "<m_csName> (Copy)". Refused while a setup of that name exists.
    LibraryResult copy(std::string_view nameOrPath) const;
    // Deletes a setup file of the library and its legacy description file.
    LibraryResult remove(std::string_view nameOrPath) const;
    // Adds a setup file received from elsewhere under its file title. Refuses files that are no setup, too large,
    // or whose title cannot be a setup name; importing a library file onto itself changes nothing.
    LibraryResult import(const std::string& sourcePath, ImportChoice choice) const;
    // Whether importing the file would meet an existing setup of the same name (the moment to ask the
    // administrator whether to replace or rename).
    bool importNameExists(const std::string& sourcePath) const;

    // Whether a setup file other than `ownFile` already carries the name (letter case ignored), so that saving under
    // it would replace another setup.
    bool nameInUse(std::string_view name, const std::string& ownFile) const;
    // Saves an edited setup under its (maybe new) name. The file it was read from is removed only once the save has
    // succeeded, and only when the setup now lives in another file; a name that another setup holds is refused.
    LibraryResult saveEdited(ServerSetup& setup, const std::string& ownFile) const;

private:
    // The library file whose title is `name` in any letter case; empty when there is none.
    std::string existingFileNamed(std::string_view name) const;
    // The file meant by a name or an absolute path; empty for a name that cannot be a file name.
    std::string pathOf(std::string_view nameOrPath) const;

    SetupStore store_;
    const Clock& clock_;
};

} // namespace kv::setups
