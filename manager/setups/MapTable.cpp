#include "manager/setups/MapTable.h"

#include "common/Files.h"
#include "common/Format.h"
#include "common/Text.h"

namespace kv::setups {

bool mapAvailable(const MapInfo& map, const GameVersion& installed) {
    if (installed.major == 0)
        return true;
    if (map.requiredMajorVersion != installed.major)
        return map.requiredMajorVersion < installed.major;
    if (map.requiredMinorVersion != installed.minor)
        return map.requiredMinorVersion < installed.minor;
    return map.requiredSubMinorVersion <= installed.subMinor;
}

MapTable::MapTable() : rows_(kMaxRows) {}

MapTable MapTable::load(const std::string& mapInfoPath) {
    MapTable table = builtIn();
    if (auto bytes = readFile(mapInfoPath))
        table.readMapInfoXml(*bytes);
    return table;
}

std::size_t MapTable::size() const {
    std::size_t n = 0;
    while (n < rows_.size() && !rows_[n].title.empty())
        ++n;
    return n;
}

const MapInfo* MapTable::find(std::string_view title) const {
    if (title.empty())
        return nullptr;
    for (const MapInfo& map : rows_) {
        if (map.title.empty())
            break;
        if (equalsNoCase(map.title, title))
            return &map;
    }
    return nullptr;
}

std::string MapTable::toMapInfoXml() const {
    std::string out = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<KorvaneMaps>\n";
    for (std::size_t i = 0; i < size(); ++i) {
        const MapInfo& m = rows_[i];
        appendFormat(out, "<Map>\n<Title>%s</Title>\n<Name>%s</Name>\n", m.title.c_str(), m.name.c_str());
        appendFormat(out, "<ImageID>%d</ImageID>\n<ExtImage>%s</ExtImage>\n", m.imageId, m.extImage.c_str());
        appendFormat(out, "<MinPlayers>%d</MinPlayers>\n<MaxPlayers>%d</MaxPlayers>\n", m.minPlayers, m.maxPlayers);
        appendFormat(out, "<DefAdvantage>%d</DefAdvantage>\n", m.defAdvantage);
        appendFormat(out, "<RequiredMajorVersion>%d</RequiredMajorVersion>\n", m.requiredMajorVersion);
        appendFormat(out, "<RequiredMinorVersion>%d</RequiredMinorVersion>\n", m.requiredMinorVersion);
        appendFormat(out, "<RequiredSubMinorVersion>%d</RequiredSubMinorVersion>\n", m.requiredSubMinorVersion);
        appendFormat(out, "<UsedByLeague>%d</UsedByLeague>\n", m.usedByLeague);
        appendFormat(out, "<NotValidForTournaments>%d</NotValidForTournaments>\n", m.notValidForTournaments);
        appendFormat(out, "<GamePlayType>%d</GamePlayType>\n", m.gamePlayType);
        appendFormat(out, "<RecommendedMaxPlayers>%d</RecommendedMaxPlayers>\n", m.recommendedMaxPlayers);
        out.append("<Description>\n");
        // Every description line ends in CR LF once read back; the reader adds them, so the file holds plain lines.
        std::string_view rest = m.description;
        while (!rest.empty()) {
            std::size_t end = rest.find("\r\n");
            std::string_view line = rest.substr(0, end);
            out.append(line).push_back('\n');
            rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 2);
        }
        out.append("</Description>\n</Map>\n");
    }
    out.append("</KorvaneMaps>\n");
    return out;
}

} // namespace kv::setups
