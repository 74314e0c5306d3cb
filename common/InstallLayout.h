#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Where the programs find their companions. An installed program is <prefix>/bin/NAME; the client library and the
// agent's window module are in <prefix>/lib/kv-server-manager, the shipped data in <prefix>/share/kv-server-manager
// and the help pages in <prefix>/share/doc/kv-server-manager/help. A build tree keeps everything beside the programs.
// Every folder is derived from the program's own folder, never from the current folder, which others may write to:
// a folder that is not absolute yields nothing.

// The folder of the running program from /proc/self/exe (links resolved); empty when that cannot be read.
std::string runningProgramFolder();

std::string installedLibraryFolder(std::string_view programFolder);
std::string installedDataFolder(std::string_view programFolder);
std::string installedHelpFolder(std::string_view programFolder);

// The places a companion file is looked for, in order: the program's own folder, then the installed library folder.
std::vector<std::string> companionCandidates(std::string_view programFolder, std::string_view fileName);

// The first candidate that is a regular file; empty when none is.
std::string firstExistingFile(const std::vector<std::string>& candidates);

} // namespace kv
