#include "gui/XdgEmail.h"

#include <QProcess>
#include <QStandardPaths>

namespace kv::gui {

QStringList xdgEmailArguments(const MailMessage& mail) {
    QStringList arguments{QStringLiteral("--utf8"), QStringLiteral("--subject"), mail.subject, QStringLiteral("--body"),
                          mail.body};
    for (const QString& file : mail.attachments)
        arguments << QStringLiteral("--attach") << file;
    return arguments;
}

MailResult startXdgEmail(const MailMessage& mail) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty())
        return MailResult::Missing;
    return QProcess::startDetached(program, xdgEmailArguments(mail)) ? MailResult::Handed : MailResult::Failed;
}

} // namespace kv::gui
