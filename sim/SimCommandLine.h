#pragma once

#include <string>
#include <vector>

namespace kv::sim {

// What the game server takes from its command line: the run mode word and the map file, then key=value
// arguments. The agent passes
//   server.bin GLOBAL Harbor.kvo log="Name 3-7-2007 at 9-05-03.log" ini="/x/Name.ini" MULTIHOME=1.2.3.4 ...
// and a local run or the generated .sh file the same without MULTIHOME=.
struct SimCommandLine {
    std::string runMode = "GLOBAL"; // upper case; GLOBAL, LAN, TOURNAMENT or LANTOURNAMENT
    std::string map;
    std::string log;
    std::string ini;
    std::string multiHome;
    std::string authUserName;
    std::string authPassword;
    std::string authAddress;
    bool help = false;
    // Arguments that mean nothing to the game server; it says so and goes on.
    std::vector<std::string> warnings;
    // Set when the server cannot run with this command line.
    std::string error;
};

// `arguments` excludes the program itself. Keys are matched without regard to case.
SimCommandLine parseSimCommandLine(const std::vector<std::string>& arguments);

} // namespace kv::sim
