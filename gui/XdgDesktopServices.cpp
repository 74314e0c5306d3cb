#include "gui/XdgDesktopServices.h"

#include "gui/XdgEmail.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace kv::gui {

bool XdgDesktopServices::openFile(const QString& path) {
    return QFileInfo(path).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool XdgDesktopServices::openUrl(const QUrl& url) {
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool XdgDesktopServices::openFolder(const QString& path) {
    return QFileInfo(path).isDir() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

MailResult XdgDesktopServices::composeMail(const MailMessage& mail) {
    return startXdgEmail(mail);
}

bool XdgDesktopServices::startDetached(const QString& program, const QStringList& arguments, const QString& folder) {
    return QProcess::startDetached(program, arguments, folder);
}

} // namespace kv::gui
