#include "cli/ManagerPreferences.h"

#include "common/Files.h"
#include "manager/setups/ShippedData.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <cstdlib>

namespace kv::cli {

namespace {

std::string text(const QSettings& settings, const char* key) {
    return settings.value(QString::fromUtf8(key)).toString().toStdString();
}

// The game's installation is machine-wide first, then per user.
std::string gameSystemFolder() {
    for (QSettings::Scope scope : {QSettings::SystemScope, QSettings::UserScope}) {
        QSettings settings(QSettings::NativeFormat, scope, QStringLiteral("Valdren"), QStringLiteral("Korvane"));
        settings.beginGroup(QStringLiteral("Operations"));
        std::string folder = text(settings, "InstallDir");
        if (!folder.empty())
            return joinPath(folder, "System");
    }
    return {};
}

} // namespace

ManagerPreferences readManagerPreferences() {
    ManagerPreferences prefs;
    prefs.workingFolder =
        joinPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString(),
                 "KV Server Manager");
    prefs.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    QSettings settings(QStringLiteral("Valdren"), QStringLiteral("Korvane"));
    settings.beginGroup(QStringLiteral("Options"));
    prefs.serverLocation = text(settings, "ServerLocation");
    if (prefs.serverLocation.empty())
        prefs.serverLocation = gameSystemFolder();
    prefs.authUserName = text(settings, "AuthServerUserName");
    prefs.authPassword = text(settings, "AuthServerPassword");
    prefs.authAddress = text(settings, "AuthServerIP");
    return prefs;
}

std::string shippedDataFolder(const std::string& programPath) {
    std::string programFolder(dirName(programPath));
    std::vector<std::string> candidates;
    if (const char* env = std::getenv("KV_DATA_DIR"))
        candidates.emplace_back(env);
    candidates.push_back(joinPath(programFolder, "../share/kv-server-manager"));
    candidates.push_back(joinPath(programFolder, "data"));
#ifdef KV_SOURCE_DATA_DIR
    candidates.emplace_back(KV_SOURCE_DATA_DIR); // a build tree run from where it was built
#endif
    return setups::findShippedDataFolder(candidates);
}

} // namespace kv::cli
