#include "manager/core/LeagueLibrary.h"

#include "common/AtomicFile.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/Text.h"
#include "manager/setups/SetupStore.h"

#include <algorithm>

namespace kv::core {

namespace {

constexpr std::string_view kLeagueExtension = ".dat";
constexpr std::string_view kPageExtension = ".html";

constexpr const char* kPageHead = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                                  "<html>\n"
                                  "<head>\n"
                                  "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                                  "<link rel=\"stylesheet\" type=\"text/css\" href=\"LeagueInfoStyle.css\">\n"
                                  "<title></title>\n"
                                  "</head>\n"
                                  "<body>\n";
constexpr const char* kPageTail = "</body>\n</html>\n";

// Markup characters become entities; control characters other than tabs would only garble the page and are dropped.
// Each line break (CR LF, lone CR or LF) becomes <BR> when `breaks` is set, a space otherwise.
void appendEscaped(std::string& out, std::string_view text, bool breaks) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '"':
            out.append("&quot;");
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            [[fallthrough]];
        case '\n':
            out.append(breaks ? "<BR>" : " ");
            break;
        case '\t':
            out.push_back(c);
            break;
        default:
            if (!isControlCharacter(c))
                out.push_back(c);
        }
    }
}

std::string withExtension(std::string_view title, std::string_view extension) {
    std::string file(title);
    file.append(extension);
    return file;
}

} // namespace

LeagueLibrary::LeagueLibrary(std::string workingFolder) : workingFolder_(std::move(workingFolder)) {}

std::string LeagueLibrary::folder() const {
    return joinPath(workingFolder_, setups::kLeagueFolderName);
}

std::vector<std::string> LeagueLibrary::names() const {
    std::vector<std::string> titles;
    const std::string leagues = folder();
    for (const std::string& entry : listDirectory(leagues)) {
        if (entry.size() <= kLeagueExtension.size() || !entry.ends_with(kLeagueExtension))
            continue;
        std::string title = entry.substr(0, entry.size() - kLeagueExtension.size());
        if (setups::isUsableSetupName(title) && fileExists(joinPath(leagues, entry)))
            titles.push_back(std::move(title));
    }
    std::stable_sort(titles.begin(), titles.end(),
                     [](const std::string& a, const std::string& b) { return toLowerAscii(a) < toLowerAscii(b); });
    return titles;
}

std::string LeagueLibrary::leagueFile(std::string_view title) const {
    return setups::isUsableSetupName(title) ? joinPath(folder(), withExtension(title, kLeagueExtension))
                                            : std::string();
}

std::string LeagueLibrary::pageFile(std::string_view title) const {
    return setups::isUsableSetupName(title) ? joinPath(folder(), withExtension(title, kPageExtension)) : std::string();
}

std::string LeagueLibrary::instructionsFile() const {
    return joinPath(folder(), kInstructionsPage);
}

std::string LeagueLibrary::existing(std::string_view title) const {
    for (const std::string& name : names())
        if (equalsNoCase(name, title))
            return name;
    return {};
}

std::string LeagueLibrary::customTitle(std::string_view entered) {
    const std::string_view name = trim(entered);
    if (name.empty())
        return {};
    std::string title(kCustomPrefix);
    title.append(name);
    return setups::isUsableSetupName(title) ? title : std::string();
}

std::string LeagueLibrary::suggestedName(const setups::ServerSetup& setup) {
    const std::string league = setup.m_csLeagueName.empty() ? std::string() : setup.m_csLeagueName + " ";
    const int side = setup.m_iMaxPlayers / 2;
    return format("%s%s %dv%d %d rounds %d minutes", league.c_str(),
                  setup.m_fTournamentModeEnabled ? "(TM)" : "(Non-TM)", side, side, setup.m_iRoundsPerMatch,
                  setup.m_iRoundLength);
}

std::string LeagueLibrary::customPage(std::string_view title, std::string_view description) {
    std::string page = kPageHead;
    page.append("<p><b><i>");
    appendEscaped(page, title, false);
    page.append("</i></b></p>\n<p>");
    appendEscaped(page, description, true);
    page.append("</p>\n");
    page.append(kPageTail);
    return page;
}

LeagueLibrary::Written LeagueLibrary::writeCustom(const setups::ServerSetup& setup, std::string_view entered,
                                                  std::string_view description) const {
    Written result;
    const std::string title = customTitle(entered);
    if (title.empty()) {
        result.message = "The name \"" + std::string(entered) + "\" cannot be used for a league configuration.";
        return result;
    }
    const std::string same = existing(title);
    result.title = same.empty() ? title : same;
    if (!makeDirectories(folder())) {
        result.message = "The folder " + folder() + " could not be created.";
        return result;
    }
    // The league file first: a page without its league is never listed, a league without its page still works.
    // The file's own league name line is read after its title is taken, so it has to name this league: setups made
    // from it then follow "(Custom) <name>", not whatever league the original setup followed.
    setups::ServerSetup named = setup;
    named.m_csLeagueName = result.title;
    std::string error;
    const std::string league = leagueFile(result.title);
    if (!setups::SetupStore(workingFolder_).saveLeagueForm(named, league, &error)) {
        result.message = "The league configuration file " + league + " could not be written.\n\n" + error;
        return result;
    }
    const std::string page = pageFile(result.title);
    if (!writeFileAtomically(page, customPage(trim(entered), description), &error)) {
        result.message = "The league configuration page " + page + " could not be written.\n\n" + error;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace kv::core
