#include "manager/setups/ConfigGenerator.h"

#include "common/AtomicFile.h"
#include "common/CommandLine.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/Text.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/Placeholders.h"
#include "manager/setups/SetupStore.h"

#include <cctype>

namespace kv::setups {

namespace {

// Inside double quotes a shell still expands $, ` and \ and ends the quote at ". The setup name comes from files
// that travel between administrators, so it must not reach a shell as code.
std::string shellQuoted(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '$' || c == '`' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

// A bare word of the shell line (run mode, map file): kept as is when it holds only harmless characters.
std::string shellWord(std::string_view word) {
    bool plain = !word.empty();
    for (char c : word)
        plain = plain && (std::isalnum(static_cast<unsigned char>(c)) ||
                          std::string_view("._-+/=:,@%").find(c) != std::string_view::npos);
    if (plain)
        return std::string(word);
    // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) about "'" + std::string&& when optimising.
    std::string quoted(1, '\'');
    quoted += replaceAll(word, "'", "'\\''");
    quoted += '\'';
    return quoted;
}

GenerateResult failure(std::string title, std::string message) {
    return GenerateResult{false, std::move(title), std::move(message)};
}

} // namespace

std::string_view runMode(const ServerSetup& s) {
    if (s.m_fTournamentModeEnabled)
        return s.m_fLANOnly ? "LANTOURNAMENT" : "TOURNAMENT";
    return s.m_fLANOnly ? "LAN" : "GLOBAL";
}

ConfigGenerator::ConfigGenerator(GeneratorSettings settings, const MapTable& maps)
    : settings_(std::move(settings)), maps_(maps) {}

std::string ConfigGenerator::outputFolder() const {
    return joinPath(settings_.documentsFolder, kOutputFolderName);
}

bool ConfigGenerator::substitute(ServerSetup& setup, std::string& out, std::string_view text,
                                 std::size_t& position) const {
    std::string_view rest = text.substr(std::min(position, text.size()));
    for (const Placeholder& p : placeholders()) {
        if (!startsWithNoCase(rest, p.text))
            continue;
        p.write(PlaceholderContext{setup, maps_, settings_.authorization}, out);
        position += p.text.size() - 1;
        return true;
    }
    return false;
}

std::string ConfigGenerator::expandTemplate(ServerSetup& setup, std::string_view text) const {
    std::string out;
    out.reserve(text.size() + 1024);
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Only "[$" can start a placeholder; everything else, a "[" in the last byte included, is copied.
        if (text[i] == '[' && i + 1 < text.size() && text[i + 1] == '$' && substitute(setup, out, text, i))
            continue;
        out.push_back(text[i]);
    }
    return out;
}

std::string ConfigGenerator::mapLines(const ServerSetup& setup) const {
    return buildMapLines(setup, maps_);
}

std::string ConfigGenerator::batLine(const ServerSetup& s) {
    return format("\"C:\\Program Files\\Korvane\\System\\server.exe\" %s %s log=\"%s.log\" ini=\"%s.ini\"",
                  std::string(runMode(s)).c_str(), s.m_csMapFile.c_str(), s.m_csName.c_str(), s.m_csName.c_str());
}

std::string ConfigGenerator::shLine(const ServerSetup& s) {
    std::string name = shellQuoted(s.m_csName);
    // Unquoted, the shell drops blanks around the map file; quoting must not keep them as part of the name.
    return format("./server.bin %s %s log=\"%s.log\" ini=\"%s.ini\"", shellWord(runMode(s)).c_str(),
                  shellWord(trim(s.m_csMapFile)).c_str(), name.c_str(), name.c_str());
}

GenerateResult ConfigGenerator::generate(ServerSetup& setup) const {
    auto templateText = readFile(settings_.templatePath);
    if (!templateText)
        return failure("Required Configuration File Missing",
                       "A required configuration file \"ConfigurationTemplate.ini\" could not be found.\n\n"
                       "Please reinstall the application to repair this problem.");
    const std::string folder = outputFolder();
    makeDirectories(folder);

    std::string name(trimRight(setup.m_csName));
    if (!isUsableSetupName(name))
        return failure("Server Setup Name Not Usable",
                       "The server setup name \"" + name + "\" cannot be used as a file name.");
    setup.m_csName = name;
    // Count what the rotation holds now: a record that was reset but never loaded or saved still says 1.
    setup.countMaps();
    if (setup.mapCount > 0) {
        // The start lines need the first rotation map even when a custom template has no [$MapFile$].
        std::string first = firstRotationMapFile(setup, maps_);
        if (!first.empty())
            setup.m_csMapFile = std::move(first);
    }

    const std::string ini = expandTemplate(setup, *templateText);
    const std::string bat = batLine(setup);
    const std::string sh = shLine(setup);
    // These files are made again from the setup at every generation, so they are renamed into place whole but not
    // forced to disk: a flush per file would cost far more than the generation itself.
    std::string error;
    constexpr FlushToDisk flush = FlushToDisk::No;
    // The .ini holds the setup's passwords.
    if (!writeFileAtomically(joinPath(folder, name + ".ini"), ini, &error, flush, FileAccess::OwnerOnly) ||
        !writeFileAtomically(joinPath(folder, name + ".bat"), bat, &error, flush) ||
        !writeFileAtomically(joinPath(folder, name + ".sh"), sh, &error, flush))
        return failure("Generated Files Not Written", error);

    setup.generatedIniName = name + ".ini";
    setup.generatedBatName = name + ".bat";
    setup.generatedShName = name + ".sh";
    setup.windowsStartCommand = bat;
    return GenerateResult{true, {}, {}};
}

std::string ConfigGenerator::localStartCommand(const ServerSetup& s) const {
    const ServerAuthorization& auth = settings_.authorization;
    auto pair = [](const char* key, const std::string& value) {
        return value.empty() ? std::string() : std::string(key) + value;
    };
    std::string program = quoteArgument(joinPath(settings_.serverLocation, "server.bin"));
    std::string ini = joinPath(outputFolder(), s.m_csName + ".ini");
    return format("%s %s %s log=\"%s.log\" ini=\"%s\" %s %s %s", program.c_str(), std::string(runMode(s)).c_str(),
                  s.m_csMapFile.c_str(), s.m_csMapName.c_str(), ini.c_str(),
                  pair("ServerAuthUsername=", auth.userName).c_str(),
                  pair("ServerAuthPassword=", auth.password).c_str(), pair("ServerAuthIP=", auth.address).c_str());
}

} // namespace kv::setups
