#include "tests/support/VariedLibrary.h"

#include "common/Format.h"
#include "manager/setups/LibraryCategory.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"

#include <stdexcept>

namespace kv::test {

std::vector<WrittenSetup> writeVariedLibrary(const std::string& workingFolder, std::size_t count) {
    const setups::MapTable maps = setups::MapTable::builtIn();
    const std::size_t mapCount = maps.size();
    if (mapCount == 0)
        throw std::runtime_error("the built-in map table is empty");
    const setups::SetupStore store(workingFolder);
    const char* const events[] = {"Spring Cup", "Night League", "Regional Final"};
    std::vector<WrittenSetup> written;
    written.reserve(count);
    setups::ServerSetup setup;
    for (std::size_t i = 0; i < count; ++i) {
        setup.reset();
        const std::size_t kind = i % 6;
        const std::string& map = maps.row((i * 7) % mapCount).title;
        setup.m_csServerName = format("Korvane Server %zu", i % 17);
        setup.m_iMaxPlayers = 8 + static_cast<int>(i % 5) * 4;
        setup.m_csAdminPassword = format("admin%zu", i);
        setup.m_csSetupDescription = format("Setup number %zu of the varied test library.", i);
        if (kind <= 2) { // standard, single map; three in six share few maps
            setup.m_csName = format("%s - %s #%zu", kind == 2 ? "Friday Night" : "Public", map.c_str(), i);
            setup.m_csMapName = map;
            setup.m_csMapFile = maps.row((i * 7) % mapCount).name;
        } else if (kind == 3) { // rotation
            const std::size_t length = 2 + i % 7;
            setup.m_csName = format("Rotation of %zu, set %zu", length, i);
            setup.m_fCycleMaps = 1;
            for (std::size_t m = 0; m < length && m < setup.m_acsCycleMapList.size(); ++m)
                setup.m_acsCycleMapList[m] = maps.row((i + m) % mapCount).title;
        } else { // tournament, with an event name every other time
            setup.m_csName = format("Match (%zu) 'round %zu'", i, i / 6);
            setup.m_fTournamentModeEnabled = 1;
            setup.m_iMaxTeamSize = 4 + static_cast<int>(i % 3) * 2;
            if (kind == 5)
                setup.m_csTournamentEventName = events[i % 3];
            setup.m_csMapName = map;
        }
        std::string error;
        if (!store.save(setup, &error))
            throw std::runtime_error("a test setup could not be written: " + error);
        const setups::LibraryCategory category = setups::categoryOf(setup);
        written.push_back(
            {setup.m_csName, store.pathFor(setup.m_csName), setup.m_fTournamentModeEnabled != 0, category.label});
    }
    return written;
}

} // namespace kv::test
