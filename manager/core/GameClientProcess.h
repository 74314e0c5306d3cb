#pragma once

#include <string>
#include <sys/types.h>

namespace kv::core {

// The game client's program name beside the server program.
inline constexpr const char* kGameClientProgram = "kvclient.bin";

// Whether a process of user `uid` runs the program `name`, found in the process folder `procFolder` ("/proc"; tests
// give a folder of their own): a numeric entry whose "comm" is `name` and whose "status" gives `uid` as its real
// user. Entries that vanish or cannot be read while looking are skipped.
bool isProgramRunning(const std::string& procFolder, const std::string& name, uid_t uid);

// The game client of this user: what "Admin In-Game" and "Play Game" look for before starting another one.
bool isGameClientRunning(const std::string& procFolder = "/proc");

} // namespace kv::core
