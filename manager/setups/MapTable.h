#pragma once

#include "manager/setups/MapInfo.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::setups {

// The manager's table of maps, in the order every map list shows them. It holds at most kMaxRows rows; the first
// row without a title ends it.
class MapTable {
public:
    static constexpr std::size_t kMaxRows = 99;

    // An empty table (every row blank).
    MapTable();
    // The table built into the manager.
    static MapTable builtIn();
    // The built-in table, overwritten row by row from `mapInfoPath` when that file exists and can be read.
    static MapTable load(const std::string& mapInfoPath);

    // Number of rows in use.
    std::size_t size() const;
    const MapInfo& row(std::size_t index) const { return rows_[index]; }
    MapInfo& row(std::size_t index) { return rows_[index]; }

    // The first row whose title matches without regard to case; nullptr for none (and for an empty name).
    const MapInfo* find(std::string_view title) const;

    // Overwrites rows from the bytes of a MapInfo.xml file, starting at the first row.
    void readMapInfoXml(std::string_view bytes);
    // The rows in use as MapInfo.xml text that readMapInfoXml reads back unchanged.
    std::string toMapInfoXml() const;

    bool operator==(const MapTable&) const = default;

private:
    std::vector<MapInfo> rows_;
};

} // namespace kv::setups
