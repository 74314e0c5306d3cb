#include "manager/ui/preferences/PreferencesScreenshots.h"

#include "manager/core/BanList.h"
#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/CPreferencesSheet.h"

#include "common/Clock.h"
#include "common/Files.h"
#include "gui/DesktopServices.h"
#include "gui/QtPrompter.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdint>

namespace kv::manager::ui {

namespace {

// Pictures open nothing.
class NoDesktop final : public gui::DesktopServices {
public:
    bool openFile(const QString&) override { return false; }
    bool openUrl(const QUrl&) override { return false; }
    bool openFolder(const QString&) override { return false; }
    gui::MailResult composeMail(const gui::MailMessage&) override { return gui::MailResult::Missing; }
    bool startDetached(const QString&, const QStringList&, const QString&) override { return false; }
};

core::BanList sampleBans(std::int64_t now) {
    const auto in = [now](int days) { return static_cast<std::int32_t>(now + std::int64_t{days} * 86400); };
    return {
        {"NAME", "Grief3r", 0, "Grief3r"},          {"IP", "198.51.100.23", in(30), "Wallhax"},
        {"MAC", "00-1A-2B-3C-4D-5E", 0, "Wallhax"}, {"NAME", "TeamK1ller", in(7), "TeamK1ller"},
        {"IP", "203.0.113.77", in(90), "Spammer"},
    };
}

} // namespace

void savePreferencesScreenshots(const core::ManagerContext& context, const QString& folder) {
    QTemporaryDir work;
    if (!work.isValid()) {
        qWarning("kv: no temporary folder for the preferences pictures");
        return;
    }
    core::ManagerContext sample = context;
    sample.workingFolder = work.path().toStdString();
    sample.settingsFile = joinPath(sample.workingFolder, "Korvane.conf");
    const std::int64_t now = context.clock ? context.clock->nowSeconds() : 1767225600; // 2026-01-01
    core::BanList bans = sampleBans(now);
    // The page shows a file's rows in reverse, so the file is written bottom up.
    core::BanList reversed(bans.rbegin(), bans.rend());
    if (!core::writeBanListFile(joinPath(sample.workingFolder, core::kMasterBanListFile), reversed))
        qWarning("kv: the sample master ban list could not be written");

    core::ManagerSettings& s = sample.settings;
    if (s.defAdminName.empty())
        s.defAdminName = "Raven";
    if (s.defAdminPassword.empty())
        s.defAdminPassword = "correct horse";
    if (s.defServerName.empty())
        s.defServerName = "Raven's Harbor Duels";
    if (s.serverLocation.empty())
        s.serverLocation = "/opt/korvane/System";
    if (s.defaultPlayerAdminList.empty())
        s.defaultPlayerAdminList = "Moth&Kite&raven_two&Ash&";
    if (s.authServerUserName.empty()) {
        s.authServerUserName = "harbor-duels";
        s.authServerPassword = "s3cret-honor";
        s.authServerIP = "192.0.2.10";
    }

    gui::QtPrompter prompter;
    NoDesktop desktop;
    CPreferencesSheet sheet(sample, prompter, desktop);
    sheet.resize(sheet.sizeHint().expandedTo(QSize(560, 440)));
    QDir().mkpath(folder);
    const char* const names[] = {"preferences-options.png", "preferences-colors.png", "preferences-player-admins.png",
                                 "preferences-master-ban-list.png", "preferences-honor-server.png"};
    sheet.show();
    for (int i = 0; i < sheet.tabs()->count(); ++i) {
        sheet.tabs()->setCurrentIndex(i);
        QApplication::processEvents();
        const QString path = QDir(folder).filePath(QString::fromUtf8(names[i]));
        if (!sheet.grab().save(path, "PNG"))
            qWarning("kv: %s could not be written", qPrintable(path));
    }
    sheet.hide();
}

} // namespace kv::manager::ui
