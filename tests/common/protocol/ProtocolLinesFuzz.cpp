// Feeds arbitrary bytes, cut into lines, to every parser that reads network lines: the agent's request and upload
// side and the client's status, list, size and feed side.
#include "common/protocol/DescriptionText.h"
#include "common/protocol/FeedLineAssembler.h"
#include "common/protocol/FileTransfer.h"
#include "common/protocol/HostAndPort.h"
#include "common/protocol/ListRecords.h"
#include "common/protocol/Login.h"
#include "common/protocol/NameCheck.h"
#include "common/protocol/ProtocolWords.h"
#include "common/protocol/Request.h"
#include "common/protocol/RestartTime.h"
#include "common/protocol/StatusRecordParser.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace kv::protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    StatusRecord record;
    StatusRecordParser status(record);
    DescriptionCollector description;
    FeedLineAssembler feed;
    for (char c : bytes)
        if (feed.add(c) == FeedLineAssembler::Step::TooLong)
            break;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (std::size_t cr = line.find('\r'); cr != std::string_view::npos)
            line = line.substr(0, cr);

        if (auto request = matchRequest(line); request && !std::string_view(requestWord(*request)).empty()) {
            // A matched request word must really begin the line.
            if (line.size() < std::string_view(requestWord(*request)).size())
                std::abort();
        }
        isLoginRequest(line);
        if (passesStrictNameCheck(line) && !passesShortNameCheck(line))
            std::abort();
        if (passesShortNameCheck(line) && (line.find('/') != std::string_view::npos || line.find("..") != line.npos))
            std::abort();
        checkLogin(line, line, "admin", "0123");
        if (auto time = parseRestartTimeLine(line); time && (time->minutes < 0 || time->minutes >= 24 * 60))
            std::abort();
        if ((isConfigurationName(line) || isMapName(line)) &&
            (line.find_first_of("\"/\\,\r\n") != std::string_view::npos || line.front() == '.'))
            std::abort();
        description.add(line);
        status.add(line);
        parseConfigurationRecord(line);
        parseFileRecord(line);
        isEndOfList(line);
        if (auto sizeValue = parseSizeLine(line); sizeValue && *sizeValue < 0)
            std::abort();
        parseHostAndPort(line, kDefaultPort);
    }
    return 0;
}
