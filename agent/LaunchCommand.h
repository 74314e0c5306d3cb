#pragma once

#include "common/LocalTime.h"

#include <optional>
#include <string>
#include <vector>

namespace kv::agent {

// Everything the game server's command line is made of.
struct LaunchInputs {
    std::string programPath; // <game folder>/System/server.bin
    std::string runMode;
    std::string map;
    std::string setupName;
    LocalTime launchTime;
    std::string iniPath;     // <working folder>/Configurations/<ini>
    std::string serverIp;
    std::string honorUserName;
    std::string honorPassword;
    std::string honorIp;
};

// The command line as one string, in the game's fixed format: program, run mode, map, log="<name> <date> at
// <time>.log", ini="<path>", then the four optional key/value pairs (key written only when its condition holds).
// A program path with blanks is quoted so that splitting gives it back whole. None when a value holds a quote or a
// control character (or the ini path ends in a backslash): such a value would add arguments of its own.
std::optional<std::string> buildCommandLine(const LaunchInputs& in);

// The argument vector the process is started with: the command line split by the game's quoting rules. No shell
// ever sees it.
std::vector<std::string> commandLineArguments(const std::string& commandLine);

} // namespace kv::agent
