#include "manager/setups/ServerSetup.h"

#include "common/Text.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupFields.h"

#include <type_traits>

namespace kv::setups {

namespace {

struct ResetVisitor {
    ServerSetup& setup;
    const SetupField& field;

    void operator()(std::string ServerSetup::*m) const { (setup.*m).assign(field.textDefault); }
    void operator()(int ServerSetup::*m) const { setup.*m = field.intDefault; }
    void operator()(float ServerSetup::*m) const { setup.*m = field.floatDefault; }
    void operator()(std::array<int, 32> ServerSetup::*m) const { (setup.*m).fill(field.intDefault); }
    template <std::size_t N>
    void operator()(std::array<std::string, N> ServerSetup::*m) const {
        for (std::string& s : setup.*m)
            s.clear();
    }
};

constexpr std::string_view kRegions[kRegionCount] = {
    "No Region Specified (any Region)", "Southeast US", "Western US", "Midwest US", "Northwest US, West Canada",
    "Northeast US, East Canada", "United Kingdom", "Continental Europe", "Central Asia, Middle East",
    "Southeast Asia, Pacific", "Africa", "Australia / NZ / Pacific", "Central, South America",
};

constexpr std::string_view kScoreModes[kScoreModeCount] = {"SSM_On", "SSM_Off", "SSM_Round", "SSM_Match"};

} // namespace

void ServerSetup::reset() {
    // clear() rather than fresh strings keeps capacity, which matters when one record loads thousands of files.
    for (const SetupField& field : setupFields())
        std::visit(ResetVisitor{*this, field}, field.member);
    leagueMapList.clear();
    mapCount = 1;
    generatedIniName.clear();
    generatedBatName.clear();
    generatedShName.clear();
    windowsStartCommand.clear();
}

int ServerSetup::countMaps() {
    mapCount = 0;
    for (const std::string& map : m_acsCycleMapList)
        if (!map.empty())
            ++mapCount;
    return mapCount;
}

std::vector<std::string_view> ServerSetup::playerAdmins() const {
    std::vector<std::string_view> names;
    std::string_view rest = m_csPlayerAdminList;
    while (!rest.empty()) {
        std::size_t amp = rest.find('&');
        if (std::string_view item = rest.substr(0, amp); !item.empty())
            names.push_back(item);
        rest = amp == std::string_view::npos ? std::string_view{} : rest.substr(amp + 1);
    }
    return names;
}

bool ServerSetup::mapAllowed(std::string_view mapName) const {
    if (leagueMapList.empty())
        return true;
    for (const std::string& allowed : leagueMapList)
        if (equalsNoCase(allowed, mapName))
            return true;
    return false;
}

const MapInfo* ServerSetup::mapInfo(const MapTable& maps) const { return maps.find(m_csMapName); }

std::string_view regionName(int index) { return index >= 0 && index < kRegionCount ? kRegions[index] : ""; }

std::string_view scoreModeWord(int index) {
    return index >= 0 && index < kScoreModeCount ? kScoreModes[index] : "";
}

} // namespace kv::setups
