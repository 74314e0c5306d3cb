#include "manager/remote/AntiCheatFiles.h"

#include "common/Files.h"
#include "common/Format.h"
#include "common/LineReader.h"
#include "common/LocalTime.h"
#include "common/Text.h"
#include "common/protocol/FileTransfer.h"
#include "common/protocol/ListRecords.h"
#include "common/protocol/OptionFileCopy.h"
#include "common/protocol/ProtocolWords.h"

#include <algorithm>
#include <cstdio>

namespace kv::remote {

namespace {

constexpr std::int64_t kLastShownSecond = 253402300799; // 31 December 9999

bool isLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

constexpr std::string_view kCfg = ".cfg";

} // namespace

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxAntiCheatName || name == "." || name == "..")
        return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return isLetterOrDigit(c) || c == '.' || c == '_' || c == '-'; });
}

std::vector<std::string> parseOptionFileList(const std::vector<std::string>& texts) {
    std::vector<std::string> names;
    for (const std::string& text : texts) {
        if (names.size() >= kMaxAntiCheatRows)
            break;
        if (text.size() > kMaxAntiCheatText)
            continue;
        const std::string_view name = std::string_view(text).substr(0, text.find(','));
        // The host stores "<stem>.cfg" exactly: the stem is what is asked for.
        if (name.size() <= kCfg.size() || name.substr(name.size() - kCfg.size()) != kCfg || !isPlainFileName(name) ||
            equalsNoCase(name, kGameOptionFile) || equalsNoCase(name, kServerOptionFile))
            continue;
        const std::string_view stem = name.substr(0, name.size() - kCfg.size());
        if (!std::all_of(stem.begin(), stem.end(), isLetterOrDigit))
            continue;
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.emplace_back(name);
    }
    return names;
}

std::vector<AntiCheatFileRow> parseAntiCheatIndex(const std::vector<std::string>& texts) {
    std::vector<AntiCheatFileRow> rows;
    for (const std::string& text : texts) {
        if (rows.size() >= kMaxAntiCheatRows)
            break;
        if (text.size() > kMaxAntiCheatText)
            continue;
        std::optional<protocol::FileRecord> record = protocol::parseFileRecord(text);
        if (!record || !isPlainFileName(record->name) || record->lastWrite < 0 ||
            record->lastWrite > kLastShownSecond || record->size < 0)
            continue;
        rows.push_back({std::move(record->name), record->lastWrite, record->size});
    }
    return rows;
}

std::string fileTimeText(std::int64_t secondsSince1970) {
    const LocalTime t = toLocalTime(secondsSince1970);
    return format("%d/%d/%d at %d:%2.2d:%2.2d", t.month, t.day, t.year, t.hour, t.minute, t.second);
}

std::string fileSizeText(std::int64_t bytes) {
    return format("%2.1fK", static_cast<double>(bytes) / 1024.0);
}

OptionNameCheck checkOptionName(std::string_view name) {
    if (name.empty())
        return OptionNameCheck::Empty;
    const bool letters = std::all_of(name.begin(), name.end(), isLetterOrDigit);
    return letters && name.size() + kCfg.size() <= kMaxAntiCheatName ? OptionNameCheck::Valid
                                                                     : OptionNameCheck::Invalid;
}

std::string editorTextFromFile(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    LineReader reader(bytes);
    std::string line;
    while (reader.next(line, bytes.size() + 1, LineReader::Break::CrLf)) {
        text += line;
        text += '\n';
    }
    return text;
}

std::string fileTextFromEditor(std::string_view text) {
    std::string bytes = replaceAll(replaceAll(text, "\r\n", "\n"), "\r", "\n");
    if (!bytes.empty() && bytes.back() != '\n')
        bytes += '\n';
    return bytes;
}

std::optional<std::size_t> endMarkerLine(std::string_view fileText) {
    // The pieces the upload sends, exactly as it cuts them.
    LineReader reader(fileText);
    std::string piece;
    std::size_t line = 1;
    while (reader.next(piece, protocol::kUploadPieceSize, LineReader::Break::Keep)) {
        if (protocol::isEndMarker(piece, protocol::kEndOfFile))
            return line;
        if (!piece.empty() && piece.back() == '\n')
            ++line;
    }
    return std::nullopt;
}

std::string optionFileCopyPath(const std::string& workingFolder, const std::string& address,
                               const std::string& optionFile) {
    return joinPath(workingFolder, protocol::optionFileCopyName(address, optionFile));
}

std::string cacheFolder(const std::string& workingFolder, bool logs) {
    return joinPath(workingFolder, logs ? "PBLogs" : "PBScreenshots");
}

std::string cachedFilePath(const std::string& workingFolder, bool logs, const std::string& name) {
    return joinPath(cacheFolder(workingFolder, logs), name);
}

bool needsFetch(const std::string& path, std::int64_t listedSize) {
    const std::optional<long long> size = fileSize(path);
    return !fileExists(path) || !size || *size == 0 || *size != listedSize;
}

bool moveAside(const std::string& path) {
    if (!fileExists(path))
        return !directoryExists(path);
    return std::rename(path.c_str(), (path + ".old").c_str()) == 0;
}

} // namespace kv::remote
