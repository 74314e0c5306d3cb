#include "cli/SetupCommand.h"

#include "cli/ManagerPreferences.h"
#include "cli/OptionParser.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "gui/XdgEmail.h"
#include "manager/setups/ConfigGenerator.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupDescription.h"
#include "manager/setups/SetupLibrary.h"
#include "manager/setups/SetupMail.h"
#include "manager/setups/ShippedData.h"

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <unistd.h>

namespace kv::cli {

namespace {

using setups::ServerSetup;

// What every setup command shares: the working folder (prepared on first use) and its map table.
struct Session {
    std::string workingFolder;
    setups::MapTable maps;
    setups::SetupStore store;
};

std::optional<Session> openSession(const OptionParser& options, const ManagerPreferences& prefs,
                                   const std::string& dataFolder, std::ostream& err) {
    std::string folder = options.get("workdir", prefs.workingFolder);
    // An empty folder would put the library into whatever folder kvsm runs in.
    if (!folder.empty())
        setups::prepareWorkingFolder(folder, dataFolder);
    if (folder.empty() || !directoryExists(joinPath(folder, setups::kSetupsFolderName))) {
        err << "kvsm: the working folder \"" << folder
            << "\" cannot be used (its Server Setups folder cannot be "
               "created).\n";
        return std::nullopt;
    }
    return Session{folder, setups::MapTable::load(joinPath(folder, "MapInfo.xml")), setups::SetupStore(folder)};
}

// NAME is a setup of the library or the path of a setup file; a relative path is taken from the current folder.
std::string resolveName(const std::string& name) {
    if (name.find('/') == std::string::npos || name.front() == '/')
        return name;
    char cwd[4096];
    return getcwd(cwd, sizeof cwd) ? joinPath(cwd, name) : name;
}

bool loadNamed(const Session& session, const std::string& name, ServerSetup& setup, std::ostream& err) {
    if (session.store.load(resolveName(name), setup))
        return true;
    err << "kvsm: the server setup \"" << name << "\" could not be read (" << session.store.pathFor(resolveName(name))
        << " is missing, unreadable or names no setup).\n";
    return false;
}

// The working folder and the one setup that NAME names, for the commands that read a setup.
struct NamedSetup {
    Session session;
    ServerSetup setup;
};

std::optional<NamedSetup> openNamed(const OptionParser& o, const ManagerPreferences& p, const std::string& data,
                                    std::ostream& err) {
    std::optional<Session> opened = openSession(o, p, data, err);
    if (!opened)
        return std::nullopt;
    NamedSetup named{std::move(*opened), ServerSetup{}};
    if (!loadNamed(named.session, o.positionals()[0], named.setup, err))
        return std::nullopt;
    return named;
}

// Tells the outcome of a library operation: the resulting name on `out` (when given), the refusal on `err`.
int reportLibraryResult(const setups::LibraryResult& r, std::ostream* out, std::ostream& err) {
    if (!r.ok) {
        err << "kvsm: " << r.message << '\n';
        return 1;
    }
    if (out)
        *out << r.name << '\n';
    return 0;
}

int usageError(std::ostream& err, const std::string& message) {
    err << "kvsm setup: " << message << "\nTry 'kvsm setup --help'.\n";
    return 2;
}

int list(const OptionParser& o, const ManagerPreferences& p, const std::string& data, std::ostream& out,
         std::ostream& err) {
    if (!o.positionals().empty())
        return usageError(err, "list takes no names.");
    std::optional<Session> opened = openSession(o, p, data, err);
    if (!opened)
        return 1;
    const Session& session = *opened;
    SystemClock clock;
    std::vector<setups::LibraryEntry> entries = setups::SetupLibrary(session.workingFolder, clock).refresh();
    setups::sortEntries(entries);
    for (const setups::LibraryEntry& e : entries)
        out << setups::rootLabel(e.root) << '\t' << e.category << '\t' << e.name << '\n';
    return 0;
}

int describe(const OptionParser& o, const ManagerPreferences& p, const std::string& data, std::ostream& out,
             std::ostream& err) {
    if (o.positionals().size() != 1)
        return usageError(err, "describe needs exactly one setup NAME.");
    std::optional<NamedSetup> named = openNamed(o, p, data, err);
    if (!named)
        return 1;
    out << setups::describeSetup(named->setup, named->session.maps, o.has("detailed"));
    return 0;
}

// Generates the named setup's game files as the generate options say; false (reason on `err`) when refused.
bool generateFiles(const OptionParser& o, const ManagerPreferences& p, NamedSetup& named, std::string& outputFolder,
                   std::string& startCommand, std::ostream& err) {
    const Session& session = named.session;
    ServerSetup& setup = named.setup;
    setups::GeneratorSettings settings;
    settings.templatePath = joinPath(session.workingFolder, "ConfigurationTemplate.ini");
    settings.documentsFolder = o.get("documents", p.documentsFolder);
    settings.serverLocation = o.get("server-location", p.serverLocation);
    settings.authorization = {o.get("auth-user", p.authUserName), o.get("auth-password", p.authPassword),
                              o.get("auth-ip", p.authAddress)};
    if (settings.documentsFolder.empty()) {
        err << "kvsm: no documents folder is known; give one with --documents.\n";
        return false;
    }
    setups::ConfigGenerator generator(settings, session.maps);
    setups::GenerateResult result = generator.generate(setup);
    if (!result.ok) {
        err << "kvsm: " << result.title << ": " << result.message << '\n';
        return false;
    }
    outputFolder = generator.outputFolder();
    startCommand = generator.localStartCommand(setup);
    return true;
}

int generate(const OptionParser& o, const ManagerPreferences& p, const std::string& data, std::ostream& out,
             std::ostream& err) {
    if (o.positionals().size() != 1)
        return usageError(err, "generate needs exactly one setup NAME.");
    std::optional<NamedSetup> named = openNamed(o, p, data, err);
    std::string folder, command;
    if (!named || !generateFiles(o, p, *named, folder, command, err))
        return 1;
    out << command << '\n';
    return 0;
}

int email(const OptionParser& o, const ManagerPreferences& p, const std::string& data, std::ostream& out,
          std::ostream& err) {
    if (o.positionals().size() != 1)
        return usageError(err, "email needs exactly one setup NAME.");
    std::optional<NamedSetup> named = openNamed(o, p, data, err);
    std::string folder, command;
    if (!named || !generateFiles(o, p, *named, folder, command, err))
        return 1;
    const setups::SetupMail mail = setups::composeSetupMail(
        named->setup, named->session.maps, folder, named->session.store.pathFor(resolveName(o.positionals()[0])));
    if (o.has("print")) {
        out << mail.subject << '\n';
        for (const std::string& file : mail.attachments)
            out << "Attach: " << file << '\n';
        out << '\n' << mail.body;
        return 0;
    }
    gui::MailMessage message{QString::fromStdString(mail.subject), QString::fromStdString(mail.body), {}};
    for (const std::string& file : mail.attachments)
        message.attachments << QString::fromStdString(file);
    switch (gui::startXdgEmail(message)) {
    case gui::MailResult::Handed:
        return 0;
    case gui::MailResult::Missing:
        err << "kvsm: no mail composer was found (xdg-email, from the xdg-utils package, is not on PATH). Use "
               "--print to see the message, or attach the files of "
            << folder << " in your mail program.\n";
        return 1;
    case gui::MailResult::Failed:
        break;
    }
    err << "kvsm: xdg-email could not be started.\n";
    return 1;
}

int copy(const OptionParser& o, const ManagerPreferences& p, const std::string& data, std::ostream& out,
         std::ostream& err) {
    if (o.positionals().size() != 1)
        return usageError(err, "copy needs exactly one setup NAME.");
    std::optional<Session> opened = openSession(o, p, data, err);
    if (!opened)
        return 1;
    const Session& session = *opened;
    SystemClock clock;
    return reportLibraryResult(setups::SetupLibrary(session.workingFolder, clock).copy(o.positionals()[0]), &out, err);
}

int remove(const OptionParser& o, const ManagerPreferences& p, const std::string& data, std::ostream&,
           std::ostream& err) {
    if (o.positionals().size() != 1)
        return usageError(err, "delete needs exactly one setup NAME.");
    std::optional<Session> opened = openSession(o, p, data, err);
    if (!opened)
        return 1;
    const Session& session = *opened;
    SystemClock clock;
    return reportLibraryResult(setups::SetupLibrary(session.workingFolder, clock).remove(o.positionals()[0]), nullptr,
                               err);
}

int import(const OptionParser& o, const ManagerPreferences& p, const std::string& data, std::ostream& out,
           std::ostream& err) {
    if (o.positionals().size() != 1)
        return usageError(err, "import needs exactly one FILE.");
    if (o.has("replace") && o.has("rename"))
        return usageError(err, "--replace and --rename exclude each other.");
    std::optional<Session> opened = openSession(o, p, data, err);
    if (!opened)
        return 1;
    const Session& session = *opened;
    SystemClock clock;
    setups::ImportChoice choice = o.has("replace")  ? setups::ImportChoice::Replace
                                  : o.has("rename") ? setups::ImportChoice::Rename
                                                    : setups::ImportChoice::RefuseExisting;
    std::string file = o.positionals()[0];
    if (file.empty())
        return usageError(err, "the FILE name is empty.");
    if (file.front() != '/')
        file = resolveName("./" + file);
    setups::LibraryResult r = setups::SetupLibrary(session.workingFolder, clock).import(file, choice);
    int status = reportLibraryResult(r, &out, err);
    if (!r.ok && choice == setups::ImportChoice::RefuseExisting &&
        r.message.find("already exists") != std::string::npos)
        err << "Give --replace to replace the existing setup or --rename to add it under a dated name.\n";
    return status;
}

using Handler = std::function<int(const OptionParser&, const ManagerPreferences&, const std::string&, std::ostream&,
                                  std::ostream&)>;

struct Command {
    Handler run;
    std::vector<std::string> values;
    std::vector<std::string> flags;
};

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"list", {list, {"workdir"}, {}}},
        {"describe", {describe, {"workdir"}, {"detailed"}}},
        {"generate",
         {generate, {"workdir", "documents", "server-location", "auth-user", "auth-password", "auth-ip"}, {}}},
        {"email",
         {email, {"workdir", "documents", "server-location", "auth-user", "auth-password", "auth-ip"}, {"print"}}},
        {"copy", {copy, {"workdir"}, {}}},
        {"delete", {remove, {"workdir"}, {}}},
        {"import", {import, {"workdir"}, {"replace", "rename"}}},
    };
    return table;
}

} // namespace

const char* setupUsage() {
    return "Usage: kvsm setup <command> [options] ...\n"
           "\n"
           "Commands:\n"
           "  list [--workdir DIR]\n"
           "      One line per setup: root<TAB>category<TAB>name, sorted by root (Standard first),\n"
           "      category, then name. Empty setup files are deleted; unreadable ones are skipped.\n"
           "  describe [--detailed] [--workdir DIR] NAME\n"
           "      Writes the setup's description text to standard output as it is (CR LF line ends).\n"
           "  generate [--workdir DIR] [--documents DIR] [--server-location DIR]\n"
           "           [--auth-user U] [--auth-password P] [--auth-ip A] NAME\n"
           "      Writes NAME.ini, NAME.bat and NAME.sh into <documents>/Korvane Server Setups/ from\n"
           "      <workdir>/ConfigurationTemplate.ini and prints the local start command as one line.\n"
           "  email [--print] [generate options] NAME\n"
           "      Generates the setup's files, then hands a new mail with them attached to your mail\n"
           "      program (xdg-email). --print writes it to standard output instead: the subject, one\n"
           "      \"Attach: PATH\" line per attachment, an empty line, then the body (CR LF line ends).\n"
           "  copy [--workdir DIR] NAME\n"
           "      Saves a copy named \"NAME (Copy)\" and prints its name; refused while that copy exists.\n"
           "  delete [--workdir DIR] NAME\n"
           "      Deletes the setup file (and a legacy description file).\n"
           "  import [--workdir DIR] [--replace|--rename] FILE\n"
           "      Adds a setup file under its file name and prints the added setup's name. When that name\n"
           "      exists: refused, unless --replace (overwrite) or --rename (add as\n"
           "      \"<title> - Added <month>-<day>-<year> at <hhmm>\").\n"
           "\n"
           "NAME is a setup name in <workdir>/Server Setups/ or the path of a .ServerConfig file.\n"
           "--workdir defaults to the manager's working folder (~/.local/share/KV Server Manager); the\n"
           "generate options default to the manager's preferences. The map table is the built-in one,\n"
           "replaced row by row from <workdir>/MapInfo.xml when that file exists.\n"
           "\n"
           "Exit status: 0 done, 1 refused or failed (the reason on standard error), 2 wrong usage.\n";
}

int runSetupCommand(const std::vector<std::string>& arguments, const ManagerPreferences& preferences,
                    const std::string& dataFolder, std::ostream& out, std::ostream& err) {
    if (arguments.empty())
        return usageError(err, "a command is missing.");
    if (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
        out << setupUsage();
        return 0;
    }
    auto it = commands().find(arguments[0]);
    if (it == commands().end())
        return usageError(err, "unknown command \"" + arguments[0] + "\".");
    OptionParser options;
    for (const std::string& v : it->second.values)
        options.value(v);
    for (const std::string& f : it->second.flags)
        options.flag(f);
    options.flag("help");
    if (!options.parse(std::vector<std::string>(arguments.begin() + 1, arguments.end())))
        return usageError(err, options.error());
    if (options.has("help")) {
        out << setupUsage();
        return 0;
    }
    return it->second.run(options, preferences, dataFolder, out, err);
}

} // namespace kv::cli
