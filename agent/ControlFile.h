#pragma once

#include <string>
#include <string_view>

namespace kv::agent {

// The values last read from the active control file. A key missing from the next file keeps its value; only the
// run mode is reset (to "GLOBAL") before every read.
struct ActiveConfiguration {
    std::string map;
    std::string name;
    std::string ini;
    std::string runMode;
    std::string playerPassword;
    std::string adminPassword;
    std::string description; // "0xA" already turned into line feeds
};

namespace control_file {

// Full path of the active control file: a value that starts with "/" stands as it is, anything else is a name in
// the Configurations folder of the working folder.
std::string path(const std::string& workDir, const std::string& activeControlFile);

// Applies the lines of a control file to `config` (run mode reset first; lines cut at 1023 characters).
void parse(std::string_view text, ActiveConfiguration& config);

// Reads the file at `path` into `config`; false when it cannot be opened (config untouched).
bool read(const std::string& path, ActiveConfiguration& config);

} // namespace control_file
} // namespace kv::agent
