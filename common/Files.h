#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Whole-file and folder helpers over POSIX calls; none of them throws.
std::optional<std::string> readFile(const std::string& path);
// Reads a file that someone else may have put there: only a regular file (never a pipe or device, even one swapped
// in after a check) of at most `maxBytes`; nullopt otherwise.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes);
// Seconds since 1970 of the last change of a regular file's contents.
std::optional<long long> fileModifiedSeconds(const std::string& path);
bool fileExists(const std::string& path);      // a regular file
bool directoryExists(const std::string& path); // a folder
std::optional<long long> fileSize(const std::string& path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool makeDirectories(const std::string& path);
bool removeFile(const std::string& path);
// Appends bytes at the end of a log-style file, creating it when missing; false when nothing or not all was written.
bool appendToFile(const std::string& path, std::string_view bytes);
// Removes a folder with everything below it (links are removed, never followed); true when nothing is left.
bool removeTree(const std::string& path);
// Names (not paths) of the entries of a folder, without "." and "..", sorted; empty when it cannot be read.
std::vector<std::string> listDirectory(const std::string& path);
// Joins two path parts with exactly one '/'.
std::string joinPath(std::string_view folder, std::string_view name);
// Last part of a path, and everything before its last '/'.
std::string_view baseName(std::string_view path);
std::string_view dirName(std::string_view path);

} // namespace kv
