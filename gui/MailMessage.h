#pragma once

#include <QString>
#include <QStringList>

namespace kv::gui {

// A new mail for the user to complete and send in their own mail program.
struct MailMessage {
    QString subject;
    QString body;
    QStringList attachments; // absolute paths
};

enum class MailResult {
    Handed,  // the mail program has it
    Missing, // no mail composer on this system (xdg-email is not on PATH)
    Failed,  // the composer could not be started
};

} // namespace kv::gui
