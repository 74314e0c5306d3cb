// Feeds arbitrary bytes to the MapInfo.xml reader on top of the built-in table.
#include "manager/setups/MapTable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::setups::MapTable maps = kv::setups::MapTable::builtIn();
    maps.readMapInfoXml(std::string_view(reinterpret_cast<const char*>(data), size));
    if (maps.size() > kv::setups::MapTable::kMaxRows)
        __builtin_trap();
    for (std::size_t i = 0; i < maps.size(); ++i)
        if (maps.row(i).description.size() > 16384 || maps.find(maps.row(i).title) == nullptr)
            __builtin_trap();
    return 0;
}
