#include "manager/setups/LibraryCategory.h"

#include "common/Format.h"

namespace kv::setups {

std::string_view rootLabel(LibraryRoot root) {
    return root == LibraryRoot::Tournament ? "Tournament Server Setups" : "Standard Server Setups";
}

LibraryCategory categoryOf(const ServerSetup& s) {
    if (s.m_fTournamentModeEnabled) {
        if (!s.m_csTournamentEventName.empty())
            return {LibraryRoot::Tournament, format("%s - %d on %d Tournament", s.m_csTournamentEventName.c_str(),
                                                    s.m_iMaxTeamSize, s.m_iMaxTeamSize)};
        return {LibraryRoot::Tournament, format("%d on %d Tournaments", s.m_iMaxTeamSize, s.m_iMaxTeamSize)};
    }
    if (s.m_fCycleMaps)
        return {LibraryRoot::Standard, format("Rotating Through %d Maps", s.mapCount)};
    return {LibraryRoot::Standard, s.m_csMapName};
}

} // namespace kv::setups
