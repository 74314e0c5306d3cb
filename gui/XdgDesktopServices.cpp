#include "gui/XdgDesktopServices.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace kv::gui {

bool XdgDesktopServices::openFile(const QString& path) {
    return QFileInfo(path).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool XdgDesktopServices::openUrl(const QUrl& url) { return url.isValid() && QDesktopServices::openUrl(url); }

bool XdgDesktopServices::openFolder(const QString& path) {
    return QFileInfo(path).isDir() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QStringList XdgDesktopServices::mailArguments(const MailMessage& mail) {
    QStringList arguments{QStringLiteral("--utf8"), QStringLiteral("--subject"), mail.subject,
                          QStringLiteral("--body"), mail.body};
    for (const QString& file : mail.attachments)
        arguments << QStringLiteral("--attach") << file;
    return arguments;
}

MailResult XdgDesktopServices::composeMail(const MailMessage& mail) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty())
        return MailResult::Missing;
    return QProcess::startDetached(program, mailArguments(mail)) ? MailResult::Handed : MailResult::Failed;
}

bool XdgDesktopServices::startDetached(const QString& program, const QStringList& arguments, const QString& folder) {
    return QProcess::startDetached(program, arguments, folder);
}

} // namespace kv::gui
