#include "bench/common/BenchLibrary.h"

#include "common/Files.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"
#include "manager/setups/SetupWriter.h"

#include <cstdio>
#include <string>

namespace kv::bench {

using namespace kv::setups;

void fillLibrary(const SetupStore& store, const MapTable& maps, int count) {
    kv::makeDirectories(store.setupsFolder());
    for (int i = 0; i < count; ++i) {
        ServerSetup s;
        char name[64];
        std::snprintf(name, sizeof name, "Setup %05d", i);
        s.m_csName = name;
        s.m_csServerName = std::string("Korvane Server ") + name;
        s.m_csMapName = maps.row(static_cast<std::size_t>(i) % maps.size()).title;
        s.m_csMapFile = maps.row(static_cast<std::size_t>(i) % maps.size()).name;
        s.m_csAdminPassword = "secret";
        s.m_csPlayerAdminList = "Ann&Bob&Cyd";
        s.m_acsMOTD[0] = "Welcome to the server, play fair and have fun";
        s.m_fCycleMaps = i % 3 == 1;
        if (s.m_fCycleMaps)
            for (int m = 0; m < 2 + i % 7; ++m)
                s.m_acsCycleMapList[static_cast<std::size_t>(m)] =
                    maps.row(static_cast<std::size_t>(i + m) % maps.size()).title;
        s.m_fTournamentModeEnabled = i % 5 == 2;
        s.m_csTournamentEventName = i % 10 == 2 ? "Spring Cup" : "";
        s.m_iMaxTeamSize = 4 + i % 6;
        s.m_csSetupDescription = "Evening games for the clan.\r\nVoice chat on the usual channel.\r\n"
                                 "Ask an admin before changing maps.";
        // Written directly: the library's own saves sync every file, which would make filling take minutes.
        s.countMaps();
        const std::string text = writeSetupText(s, SetupForm::Full);
        if (FILE* f = std::fopen(store.pathFor(s.m_csName).c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
    }
}

} // namespace kv::bench
