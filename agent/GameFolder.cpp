#include "agent/GameFolder.h"

#include "common/Files.h"

#include <QSettings>

#include <cstdlib>
#include <optional>

namespace kv::agent {

namespace {

// Empty when the file has no Operations group (the next scope is then tried); else the value, maybe empty.
std::optional<std::string> installDirIn(const std::string& file) {
    if (file.empty() || !fileExists(file))
        return std::nullopt;
    QSettings settings(QString::fromStdString(file), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !settings.childGroups().contains(QStringLiteral("Operations")))
        return std::nullopt;
    return settings.value(QStringLiteral("Operations/InstallDir")).toString().left(512).toStdString();
}

} // namespace

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

std::string findGameFolder(const std::string& systemSettingsFile, const std::string& userSettingsFile) {
    auto folder = installDirIn(systemSettingsFile.empty() ? systemGameSettingsFile() : systemSettingsFile);
    if (!folder)
        folder = installDirIn(userSettingsFile.empty() ? userGameSettingsFile() : userSettingsFile);
    return folder.value_or(std::string());
}

} // namespace kv::agent
