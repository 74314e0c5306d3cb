#include "agent/service/AgentListings.h"

#include "common/Files.h"
#include "common/LineReader.h"
#include "common/Text.h"
#include "common/protocol/ListRecords.h"

#include <sys/stat.h>

namespace kv::agent::service {

namespace {

struct Entry {
    std::string name;
    std::int64_t lastWrite;
    std::int64_t size;
};

// Regular files of a folder whose name passes `accept`.
template <typename Accept> std::vector<Entry> filesOf(const std::string& folder, Accept accept) {
    std::vector<Entry> entries;
    for (const std::string& name : listDirectory(folder)) {
        struct stat info {};
        if (!accept(name) || ::stat(joinPath(folder, name).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        entries.push_back({name, static_cast<std::int64_t>(info.st_mtime), static_cast<std::int64_t>(info.st_size)});
    }
    return entries;
}

bool endsWithNoCase(std::string_view name, std::string_view extension) {
    return name.size() > extension.size() && equalsNoCase(name.substr(name.size() - extension.size()), extension);
}

std::vector<std::string> fileRecordsWith(const std::string& folder, const char* extension) {
    std::vector<std::string> records;
    for (const Entry& e : filesOf(folder, [&](const std::string& name) { return endsWithNoCase(name, extension); }))
        records.push_back(protocol::formatFileRecord(e.name, e.lastWrite, e.size));
    return records;
}

} // namespace

std::vector<std::string> configurationRecords(const AgentFilePaths& paths) {
    std::vector<std::string> records;
    auto controls =
        filesOf(paths.configurationsFolder(), [](const std::string& name) { return endsWithNoCase(name, ".Control"); });
    for (const Entry& e : controls) {
        std::string title = e.name.substr(0, e.name.size() - std::string_view(".Control").size());
        if (!fileExists(paths.configurationIni(title)))
            continue;
        LineReader reader = LineReader::openFile(joinPath(paths.configurationsFolder(), e.name));
        if (!reader.ok())
            continue;
        std::string name, map, runMode, line;
        while (reader.next(line, 511)) {
            if (startsWithNoCase(line, "Name="))
                name = line.substr(5);
            else if (startsWithNoCase(line, "Map="))
                map = line.substr(4);
            else if (startsWithNoCase(line, "RunMode="))
                runMode = line.substr(8);
        }
        records.push_back(protocol::formatConfigurationRecord(name, map, runMode, e.lastWrite));
    }
    return records;
}

std::vector<std::string> screenshotRecords(const AgentFilePaths& paths) {
    auto isPicture = [](const std::string& name) {
        for (const char* kind : {".JPG", ".JPEG", ".PNG", ".PING", ".BMP"})
            if (findNoCase(name, kind) != std::string::npos)
                return true;
        return false;
    };
    std::vector<std::string> records;
    for (const Entry& e : filesOf(paths.screenshotFolder(), isPicture))
        records.push_back(protocol::formatScreenshotRecord(e.name, e.lastWrite, e.size));
    return records;
}

std::vector<std::string> antiCheatLogRecords(const AgentFilePaths& paths) {
    return fileRecordsWith(paths.antiCheatLogFolder(), ".log");
}

std::vector<std::string> optionFileRecords(const AgentFilePaths& paths) {
    return fileRecordsWith(paths.antiCheatFolder(), ".cfg");
}

} // namespace kv::agent::service
