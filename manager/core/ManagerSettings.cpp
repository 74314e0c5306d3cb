#include "manager/core/ManagerSettings.h"

#include "common/Files.h"
#include "manager/core/GameInstallation.h"

#include <QSettings>

#include <cerrno>
#include <cstring>
#include <functional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::core {

namespace {

using M = ManagerSettings;

const ManagerSetting kTable[] = {
    {"ShowLeagueSelection", &M::showLeagueSelection},
    {"ShowRunLocalServerHelp", &M::showRunLocalServerHelp},
    {"SecurityEnableCodeCheck", &M::securityEnableCodeCheck},
    {"SecurityEnableMapCheck", &M::securityEnableMapCheck},
    {"WarnOnBlankPlayerPasswordDuringWizard", &M::warnOnBlankPlayerPasswordDuringWizard},
    {"DefAdminEmail", &M::defAdminEmail},
    {"DefAdminName", &M::defAdminName},
    {"DefAdminPassword", &M::defAdminPassword},
    {"DefServerName", &M::defServerName},
    {"ServerLocation", &M::serverLocation},
    {"DefaultPlayerAdminList", &M::defaultPlayerAdminList},
    {"IncludeServerNameInSetupNames", &M::includeServerNameInSetupNames},
    {"TextColor", &M::textColor},
    {"BGColor", &M::bgColor},
    {"ListTextColor", &M::listTextColor},
    {"ListBGColor", &M::listBgColor},
    {"AuthServerUserName", &M::authServerUserName},
    {"AuthServerPassword", &M::authServerPassword},
    {"AuthServerIP", &M::authServerIP},
};

// Values of a few hundred characters at most are meaningful; a damaged file must not fill memory or fields.
constexpr qsizetype kTextLimit = 4096;

QString keyOf(std::string_view key) { return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())); }

template <typename... F>
struct Visitor : F... {
    using F::operator()...;
};
template <typename... F>
Visitor(F...) -> Visitor<F...>;

void readInto(const QSettings& store, const ManagerSetting& setting, ManagerSettings& settings) {
    const QVariant value = store.value(keyOf(setting.key));
    if (!value.isValid())
        return;
    std::visit(Visitor{[&](int M::*m) {
                           bool ok = false;
                           const long long n = value.toLongLong(&ok);
                           if (ok && n >= INT32_MIN && n <= INT32_MAX)
                               settings.*m = static_cast<int>(n);
                       },
                       [&](ColourRef M::*m) {
                           bool ok = false;
                           const long long n = value.toLongLong(&ok);
                           if (ok && n >= 0 && n <= 0x00FFFFFF)
                               settings.*m = static_cast<ColourRef>(n);
                       },
                       [&](std::string M::*m) { settings.*m = value.toString().left(kTextLimit).toStdString(); }},
               setting.member);
}

QVariant valueOf(const ManagerSetting& setting, const ManagerSettings& settings) {
    return std::visit(Visitor{[&](int M::*m) { return QVariant(settings.*m); },
                              [&](ColourRef M::*m) { return QVariant(static_cast<qlonglong>(settings.*m)); },
                              [&](std::string M::*m) { return QVariant(QString::fromStdString(settings.*m)); }},
                      setting.member);
}

bool failed(std::string* error, const std::string& message) {
    if (error)
        *error = message;
    return false;
}

// The file holds passwords: it is made owner-only before the first value goes in, and kept so afterwards.
bool prepareOwnerOnlyFile(const std::string& file, std::string* error) {
    makeDirectories(std::string(dirName(file)));
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return failed(error, "The settings file " + file + " cannot be written: " + std::strerror(errno) + ".");
    const bool ok = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    if (!ok)
        return failed(error, "The settings file " + file + " cannot be made private: " + std::strerror(errno) + ".");
    return true;
}

// QSettings replaces the file through a temporary file of its own, which a restrictive umask keeps private.
bool writeGroup(const std::string& file, const std::function<void(QSettings&)>& fill, std::string* error) {
    if (!prepareOwnerOnlyFile(file, error))
        return false;
    const mode_t old = ::umask(077);
    bool ok = false;
    {
        QSettings store(QString::fromStdString(file), QSettings::IniFormat);
        store.beginGroup(QStringLiteral("Options"));
        fill(store);
        store.endGroup();
        store.sync();
        ok = store.status() == QSettings::NoError;
    }
    ::umask(old);
    ::chmod(file.c_str(), 0600);
    return ok || failed(error, "The settings file " + file + " could not be written.");
}

} // namespace

void ManagerSettings::restoreDefaultColours() {
    textColor = kDefaultTextColor;
    bgColor = kDefaultBgColor;
    listTextColor = kDefaultListTextColor;
    listBgColor = kDefaultListBgColor;
}

std::span<const ManagerSetting> managerSettingsTable() { return kTable; }

std::string managerSettingsFile() { return userGameSettingsFile(); }

ManagerSettings readManagerSettings(const std::string& file, const GameInstallation& installation) {
    ManagerSettings settings;
    settings.serverLocation = installation.systemFolder();
    if (!fileExists(file))
        return settings;
    QSettings store(QString::fromStdString(file), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Options"));
    for (const ManagerSetting& setting : kTable)
        readInto(store, setting, settings);
    readInto(store, ManagerSetting{"FirstRun", &M::firstRun}, settings);
    readInto(store, ManagerSetting{"AddressReportURL", &M::addressReportUrl}, settings);
    if (settings.serverLocation.empty())
        settings.serverLocation = installation.systemFolder();
    return settings;
}

bool writeManagerSettings(const std::string& file, const ManagerSettings& settings, std::string* error) {
    return writeGroup(
        file,
        [&](QSettings& store) {
            for (const ManagerSetting& setting : kTable)
                store.setValue(keyOf(setting.key), valueOf(setting, settings));
        },
        error);
}

bool storeFirstRunDone(const std::string& file, std::string* error) {
    return writeGroup(file, [](QSettings& store) { store.setValue(QStringLiteral("FirstRun"), 0); }, error);
}

} // namespace kv::core
