#include "manager/core/GameInstallation.h"

#include "common/DecimalNumber.h"
#include "common/Files.h"

#include <QSettings>

#include <cstdlib>
#include <optional>

namespace kv::core {

namespace {

// The settings file's Operations group holds paths and versions of a few dozen characters.
constexpr qsizetype kValueLimit = 512;

// nullopt when the file has no Operations group (the next scope is then tried).
std::optional<GameInstallation> installationIn(const std::string& file) {
    if (file.empty() || !fileExists(file))
        return std::nullopt;
    QSettings settings(QString::fromStdString(file), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !settings.childGroups().contains(QStringLiteral("Operations")))
        return std::nullopt;
    GameInstallation found;
    found.folder = settings.value(QStringLiteral("Operations/InstallDir")).toString().left(kValueLimit).toStdString();
    const QStringList parts =
        settings.value(QStringLiteral("Operations/Version")).toString().left(kValueLimit).split(QLatin1Char('.'));
    int* fields[] = {&found.major, &found.minor, &found.build};
    for (qsizetype i = 0; i < parts.size() && i < 3; ++i)
        *fields[i] = parseDecimalInt(parts[i].toStdString());
    return found;
}

} // namespace

std::string GameInstallation::systemFolder() const { return folder.empty() ? std::string() : joinPath(folder, "System"); }

std::string systemGameSettingsFile() {
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string first = dirs && *dirs ? std::string(dirs).substr(0, std::string(dirs).find(':')) : "/etc/xdg";
    return joinPath(first, "Valdren/Korvane.conf");
}

std::string userGameSettingsFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config)
        return joinPath(config, "Valdren/Korvane.conf");
    const char* home = std::getenv("HOME");
    return joinPath(joinPath(home ? home : "", ".config"), "Valdren/Korvane.conf");
}

GameInstallation findGameInstallation(const std::string& systemSettingsFile, const std::string& userSettingsFile) {
    auto found = installationIn(systemSettingsFile.empty() ? systemGameSettingsFile() : systemSettingsFile);
    if (!found)
        found = installationIn(userSettingsFile.empty() ? userGameSettingsFile() : userSettingsFile);
    return found.value_or(GameInstallation{});
}

} // namespace kv::core
