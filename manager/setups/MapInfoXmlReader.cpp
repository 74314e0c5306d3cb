#include "manager/setups/MapTable.h"

#include "common/DecimalNumber.h"
#include "common/LineReader.h"
#include "common/Text.h"

namespace kv::setups {

namespace {

constexpr std::size_t kMaxXmlLine = 4095;
constexpr std::size_t kMaxDescription = 16384;

struct Column {
    std::string_view tag;
    std::string MapInfo::*text = nullptr;
    int MapInfo::*number = nullptr;
};

const Column kColumns[] = {
    {"<Title>", &MapInfo::title, nullptr},
    {"<Name>", &MapInfo::name, nullptr},
    {"<ImageID>", nullptr, &MapInfo::imageId},
    {"<ExtImage>", &MapInfo::extImage, nullptr},
    {"<MinPlayers>", nullptr, &MapInfo::minPlayers},
    {"<MaxPlayers>", nullptr, &MapInfo::maxPlayers},
    {"<DefAdvantage>", nullptr, &MapInfo::defAdvantage},
    {"<RequiredMajorVersion>", nullptr, &MapInfo::requiredMajorVersion},
    {"<RequiredMinorVersion>", nullptr, &MapInfo::requiredMinorVersion},
    {"<RequiredSubMinorVersion>", nullptr, &MapInfo::requiredSubMinorVersion},
    {"<UsedByLeague>", nullptr, &MapInfo::usedByLeague},
    {"<NotValidForTournaments>", nullptr, &MapInfo::notValidForTournaments},
    {"<GamePlayType>", nullptr, &MapInfo::gamePlayType},
    {"<RecommendedMaxPlayers>", nullptr, &MapInfo::recommendedMaxPlayers},
};

void appendBounded(std::string& description, std::string_view text) {
    if (description.size() >= kMaxDescription)
        return;
    description.append(text.substr(0, kMaxDescription - description.size()));
}

} // namespace

void MapTable::readMapInfoXml(std::string_view bytes) {
    LineReader reader(bytes);
    std::string line;
    std::size_t current = 0;
    bool inDescription = false;
    while (current < rows_.size() && reader.next(line, kMaxXmlLine, LineReader::Break::CrLf)) {
        MapInfo& row = rows_[current];
        if (inDescription) {
            if (startsWithNoCase(line, "</Description")) {
                inDescription = false;
            } else {
                appendBounded(row.description, line);
                appendBounded(row.description, "\r\n");
            }
            continue;
        }
        if (startsWithNoCase(line, "<Description")) {
            row.description.clear();
            inDescription = true;
            continue;
        }
        if (startsWithNoCase(line, "</Map")) {
            ++current; // the loop ends once the last row has been passed
            continue;
        }
        for (const Column& column : kColumns) {
            if (!startsWithNoCase(line, column.tag))
                continue;
            std::string_view value = std::string_view(line).substr(column.tag.size());
            std::size_t close = value.find('<');
            value = close == std::string_view::npos ? std::string_view{} : value.substr(0, close);
            if (column.text)
                (row.*column.text).assign(value);
            else
                row.*column.number = parseDecimalInt(value);
            break;
        }
    }
}

} // namespace kv::setups
