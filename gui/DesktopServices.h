#pragma once

#include "gui/MailMessage.h"

#include <QString>
#include <QStringList>

class QUrl;

namespace kv::gui {

// What a window asks of the desktop: open a document, a web page or a folder with the user's own programs, compose a
// mail, start another program. One seam, so that tests record what was asked instead of opening windows. Nothing
// here waits for the program it starts.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    virtual bool openFile(const QString& path) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
    virtual bool openFolder(const QString& path) = 0;
    virtual MailResult composeMail(const MailMessage& mail) = 0;
    // Starts `program` with `arguments` (each one argument, no shell) in `folder`, detached from us.
    virtual bool startDetached(const QString& program, const QStringList& arguments, const QString& folder) = 0;
};

} // namespace kv::gui
