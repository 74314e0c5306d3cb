#include "agent/ServerStatus.h"

namespace kv::agent {

const char* statusWord(int code) {
    switch (code) {
    case 0: return "Never Started";
    case 1: return "Starting";
    case 2: return "Running";
    case 4: return "Stopped";
    case 8: return "Crashed";
    case 16: return "Stopped - Invalid Configuration";
    default: return "Unknown";
    }
}

} // namespace kv::agent
