#pragma once

#include "gui/MailMessage.h"

namespace kv::gui {

// The freedesktop.org mail composer, usable without widgets (kvsm hands mails to it too). Every value is one
// argument of its own, and no shell is involved, so no subject or file name can become an option or a command.
QStringList xdgEmailArguments(const MailMessage& mail);

// Starts xdg-email detached with the mail; Missing when it is not on PATH.
MailResult startXdgEmail(const MailMessage& mail);

} // namespace kv::gui
