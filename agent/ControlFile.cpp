#include "agent/ControlFile.h"

#include "common/Files.h"
#include "common/LineReader.h"
#include "common/Text.h"

namespace kv::agent::control_file {

namespace {

constexpr std::size_t kMaxLine = 1023;

void parseFrom(LineReader& reader, ActiveConfiguration& c) {
    c.runMode = "GLOBAL";
    std::string line;
    while (reader.next(line, kMaxLine, LineReader::Break::CrLf)) {
        std::string_view l = line;
        auto take = [&](std::string_view key, std::string& field) {
            if (!startsWithNoCase(l, key))
                return false;
            field = std::string(l.substr(key.size()));
            return true;
        };
        if (take("Map=", c.map) || take("Name=", c.name) || take("Ini=", c.ini) || take("RunMode=", c.runMode) ||
            take("GamePlayerPassword=", c.playerPassword) || take("GameAdminPassword=", c.adminPassword))
            continue;
        if (take("Description=", c.description))
            c.description = replaceAll(c.description, "0xA", "\n");
    }
}

} // namespace

std::string path(const std::string& workDir, const std::string& activeControlFile) {
    if (!activeControlFile.empty() && activeControlFile.front() == '/')
        return activeControlFile;
    return joinPath(joinPath(workDir, "Configurations"), activeControlFile);
}

void parse(std::string_view text, ActiveConfiguration& config) {
    LineReader reader(text);
    parseFrom(reader, config);
}

bool read(const std::string& path, ActiveConfiguration& config) {
    if (directoryExists(path))
        return false;
    LineReader reader = LineReader::openFile(path);
    if (!reader.ok())
        return false;
    parseFrom(reader, config);
    return true;
}

} // namespace kv::agent::control_file
