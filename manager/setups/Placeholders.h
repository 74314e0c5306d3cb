#pragma once

#include "manager/setups/ConfigGenerator.h"
#include "manager/setups/MapTable.h"

#include <span>
#include <string>
#include <string_view>

namespace kv::setups {

struct PlaceholderContext {
    ServerSetup& setup;
    const MapTable& maps;
    const ServerAuthorization& authorization;
};

// A placeholder of the configuration template and the writer of its value.
struct Placeholder {
    std::string_view text; // "[$Name$]"
    void (*write)(const PlaceholderContext& context, std::string& out);
};

// Every placeholder, in the order they are tried.
std::span<const Placeholder> placeholders();

// File of the first non-empty rotation entry that the map table knows; empty when there is none.
std::string firstRotationMapFile(const ServerSetup& setup, const MapTable& maps);
// The [$MapList$] lines.
std::string buildMapLines(const ServerSetup& setup, const MapTable& maps);

} // namespace kv::setups
