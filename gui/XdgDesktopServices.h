#pragma once

#include "gui/DesktopServices.h"

namespace kv::gui {

// The freedesktop.org way: xdg-open for documents and folders, xdg-email for mail. Programs are started detached and
// never through a shell, so no file name or subject can become a second argument or a command.
class XdgDesktopServices final : public DesktopServices {
public:
    bool openFile(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    bool openFolder(const QString& path) override;
    MailResult composeMail(const MailMessage& mail) override;
    bool startDetached(const QString& program, const QStringList& arguments, const QString& folder) override;
};

} // namespace kv::gui
