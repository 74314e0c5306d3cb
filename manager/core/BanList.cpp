#include "manager/core/BanList.h"

#include "common/AtomicFile.h"
#include "common/DecimalNumber.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/LineReader.h"
#include "common/LocalTime.h"
#include "common/Text.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace kv::core {

namespace {

// The player name as a row shows it: a leading double quote and the one that closes it are not part of the name.
std::string_view unquoted(std::string_view name) {
    if (name.empty() || name.front() != '"')
        return name;
    name.remove_prefix(1);
    if (!name.empty() && name.back() == '"')
        name.remove_suffix(1);
    return name;
}

// What the duplicate test compares: type, value, length text and player name, folded to lower case. Each part
// carries its length, so no byte inside a field can make two different rows look alike.
std::string duplicateKey(std::string_view type, std::string_view value, std::string_view lengthText,
                         std::string_view playerName) {
    std::string key;
    for (std::string_view part : {type, value, lengthText, playerName}) {
        key += std::to_string(part.size());
        key += ':';
        key += toLowerAscii(part);
    }
    return key;
}

std::string duplicateKey(const BanEntry& entry) {
    return duplicateKey(entry.type, entry.value, banLengthText(entry.endTime), entry.playerName);
}

bool holdsAny(std::string_view text, std::string_view characters) {
    return text.find_first_of(characters) != std::string_view::npos;
}

bool failed(std::string* error, std::string message) {
    if (error)
        *error = std::move(message);
    return false;
}

} // namespace

std::string banLengthText(std::int32_t endTime) {
    if (endTime == 0)
        return "Permanent";
    const LocalTime local = toLocalTime(endTime);
    return format("%d/%d/%d", local.month, local.day, local.year);
}

std::string banFieldProblem(std::string_view text) {
    if (text.find(',') != std::string_view::npos)
        return "it contains a comma, which a ban list file cannot hold";
    if (text.find('"') != std::string_view::npos)
        return "it contains a double quote, which a ban list file cannot hold";
    if (holdsAny(text, std::string_view("\r\n", 2)))
        return "it contains a line break, which a ban list file cannot hold";
    if (hasControlCharacter(text))
        return "it contains a control character";
    if (text.size() > kBanFieldLimit)
        return format("it is longer than %zu characters", kBanFieldLimit);
    return {};
}

std::string banEntryProblem(const BanEntry& entry) {
    static constexpr std::string_view kBreaking(",\n\0", 3);
    const struct {
        const char* what;
        const std::string& text;
    } fields[] = {{"ban type", entry.type}, {"ban value", entry.value}, {"player name", entry.playerName}};
    for (const auto& field : fields) {
        if (holdsAny(field.text, kBreaking))
            return format("the %s \"%s\" holds a comma, a line feed or a NUL byte, which a ban list file cannot hold",
                          field.what, std::string(field.text.substr(0, field.text.find('\0'))).c_str());
    }
    return {};
}

std::string banFileLine(const BanEntry& entry) {
    return format("%s,%s,%ld,%ld,\"%s\"\n", entry.type.c_str(), entry.value.c_str(), static_cast<long>(entry.endTime),
                  0L, entry.playerName.c_str());
}

std::optional<std::string> banListText(const BanList& list, std::string* error) {
    std::string text;
    for (const BanEntry& entry : list) {
        if (std::string problem = banEntryProblem(entry); !problem.empty()) {
            failed(error, "The ban list cannot be written: " + problem + ".");
            return std::nullopt;
        }
        text += banFileLine(entry);
    }
    return text;
}

std::size_t mergeBanListLines(LineReader& lines, BanList& list) {
    std::unordered_set<std::string> present;
    for (const BanEntry& entry : list)
        present.insert(duplicateKey(entry));

    BanList added; // in file order; they go on top in reverse
    std::string line;
    while (lines.next(line, kBanLineLimit, LineReader::Break::CrLf)) {
        // The lines were always C strings: a NUL byte ends what is read of one.
        std::vector<std::string> fields = splitCommas(std::string_view(line.c_str()));
        if (fields.size() < 5)
            continue;
        BanEntry entry;
        entry.endTime = parseDecimalInt(fields[2]);
        entry.playerName = std::string(unquoted(fields[4]));
        entry.type = std::move(fields[0]);
        entry.value = std::move(fields[1]);
        if (!present.insert(duplicateKey(entry)).second)
            continue;
        added.push_back(std::move(entry));
    }
    list.insert(list.begin(), std::make_move_iterator(added.rbegin()), std::make_move_iterator(added.rend()));
    return added.size();
}

std::size_t mergeBanListText(std::string_view text, BanList& list) {
    LineReader lines(text);
    return mergeBanListLines(lines, list);
}

std::size_t mergeBanListFile(const std::string& path, BanList& list) {
    if (!fileExists(path))
        return 0;
    LineReader lines = LineReader::openFile(path);
    if (!lines.ok())
        return 0;
    return mergeBanListLines(lines, list);
}

bool writeBanListFile(const std::string& path, const BanList& list, std::string* error) {
    const std::optional<std::string> text = banListText(list, error);
    if (!text)
        return false;
    return writeFileAtomically(path, *text, error);
}

bool appendBanListRecord(const std::string& path, const BanList& list, std::string* error) {
    if (list.empty())
        return true;
    const std::optional<std::string> text = banListText(list, error);
    if (!text)
        return false;
    // The record keeps each line once: only lines that it does not hold yet are added, so that saving the same
    // list again and again does not make it grow.
    std::unordered_set<std::string> held;
    bool endsOpen = false; // the last line has no line end (a hand edit): the first added line must not join it
    if (fileExists(path)) {
        LineReader lines = LineReader::openFile(path);
        if (!lines.ok())
            return failed(error, "The ban record " + path + " could not be read.");
        std::string piece;
        while (lines.next(piece, kBanLineLimit, LineReader::Break::Keep)) {
            endsOpen = piece.back() != '\n';
            held.insert(std::string(chompLineBreak(piece)));
        }
    }
    std::string added = endsOpen ? "\n" : "";
    LineReader lines(*text);
    std::string line;
    while (lines.next(line, kBanLineLimit, LineReader::Break::CrLf))
        if (held.insert(line).second)
            added += line + "\n";
    if (added.size() > (endsOpen ? 1U : 0U) && !appendToFile(path, added))
        return failed(error, "The ban record " + path + " could not be appended to.");
    return true;
}

} // namespace kv::core
