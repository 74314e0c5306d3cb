// Feeds arbitrary bytes, as a host's list texts (one per line), to every reader of what a remote host sends the
// manager's windows: setup rows, anti-cheat option file names and screenshot/log indexes, option file texts and the
// description guard. Whatever arrives, a name that survives is a plain file name, fields keep their bounds, the
// option file round trip is stable, and no description line can end the description early.
#include "manager/remote/AntiCheatFiles.h"
#include "manager/remote/RemoteSetupRows.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace kv::remote;

namespace {

bool hasControl(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f)
            return true;
    return false;
}

void checkField(std::string_view field) {
    if (field.size() > kMaxRemoteSetupField || hasControl(field))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> texts;
    for (std::size_t start = 0; start <= bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        texts.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }

    for (const std::string& text : texts) {
        if (const auto row = parseRemoteSetupRow(text)) {
            checkField(row->name);
            checkField(row->map);
            checkField(row->serverType);
            if (lastUpdateText(row->lastUpdate).empty())
                __builtin_trap();
        }
    }
    for (const std::string& name : parseOptionFileList(texts))
        if (!isPlainFileName(name) || name.size() < 5 || name.substr(name.size() - 4) != ".cfg")
            __builtin_trap();
    for (const AntiCheatFileRow& row : parseAntiCheatIndex(texts)) {
        if (!isPlainFileName(row.name) || row.time < 0 || row.size < 0)
            __builtin_trap();
        if (fileTimeText(row.time).empty() || fileSizeText(row.size).empty())
            __builtin_trap();
    }

    // An option file opened and saved, then opened and saved again, gives the same bytes.
    const std::string saved = fileTextFromEditor(editorTextFromFile(bytes));
    if (fileTextFromEditor(editorTextFromFile(saved)) != saved)
        __builtin_trap();

    // No line of a guarded description reads as its end, whatever breaks its lines.
    const std::string guarded = guardUploadDescription(bytes);
    for (std::size_t start = 0; start <= guarded.size();) {
        const std::size_t end = std::min(guarded.find_first_of("\r\n", start), guarded.size());
        if (guarded.compare(start, end - start, "[EndDescription]") == 0)
            __builtin_trap();
        start = end + 1;
    }
    return 0;
}
