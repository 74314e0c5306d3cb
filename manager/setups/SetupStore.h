#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>
#include <string_view>

namespace kv::setups {

// Folder of the setup library, relative to the manager's working folder.
inline constexpr std::string_view kSetupsFolderName = "Server Setups";
inline constexpr std::string_view kSetupExtension = ".ServerConfig";
// League configurations (<title>.dat in league form, <title>.html their pages), relative to the working folder.
inline constexpr std::string_view kLeagueFolderName = "LeagueInfo";
inline constexpr std::string_view kLegacyDescriptionExtension = ".ServerConfigDescription";
// A setup file is a few kilobytes; anything far larger is no setup and is not read into memory.
inline constexpr std::size_t kMaxSetupFileBytes = 1024 * 1024;

// True when a setup name can serve as a file name: not empty, no '/', NUL or other control character, not "." or
// "..". Setups travel by e-mail and from remote hosts, so their names are input and must not lead a write out of its
// folder.
bool isUsableSetupName(std::string_view name);

// Reads and writes setup files in the library of one working folder.
class SetupStore {
public:
    explicit SetupStore(std::string workingFolder);

    const std::string& workingFolder() const { return workingFolder_; }
    std::string setupsFolder() const;
    // The file of a setup: `name` itself when it is an absolute path, else Server Setups/<name>.ServerConfig.
    std::string pathFor(std::string_view name) const;

    // Fills the record (expected to be reset) from a setup file. False when the file cannot be read or names no
    // setup; the record then holds whatever was read. Takes the legacy description file when the setup file has
    // no description, and counts the rotation maps.
    bool load(std::string_view name, ServerSetup& setup) const;
    // Sets the league name from the file name of `path`, then loads `path`. The result is that of load(): a
    // league file names no setup, so it is false even when every field was read.
    bool loadLeagueFile(const std::string& path, ServerSetup& setup) const;

    // Writes the full form to Server Setups/<m_csName>.ServerConfig (replacing it atomically), counts the rotation
    // maps and deletes a legacy description file. False with `error` when the name is unusable or the file
    // cannot be written.
    bool save(ServerSetup& setup, std::string* error = nullptr) const;
    // Writes the league form to `path`, replacing it atomically.
    bool saveLeagueForm(const ServerSetup& setup, const std::string& path, std::string* error = nullptr) const;

private:
    void readLegacyDescription(ServerSetup& setup) const;

    std::string workingFolder_;
};

} // namespace kv::setups
