#pragma once

#include "gui/DesktopServices.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace kv::test {

// Records what a window asked of the desktop instead of opening anything.
class FakeDesktopServices final : public gui::DesktopServices {
public:
    struct Started {
        QString program;
        QStringList arguments;
        QString folder;
    };

    gui::MailResult mailResult = gui::MailResult::Handed; // what composeMail answers
    bool result = true;                                   // what the other calls answer

    std::vector<QString> openedFiles;
    std::vector<QUrl> openedUrls;
    std::vector<QString> openedFolders;
    std::vector<gui::MailMessage> mails;
    std::vector<Started> started;

    bool openFile(const QString& path) override {
        openedFiles.push_back(path);
        return result;
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.push_back(url);
        return result;
    }
    bool openFolder(const QString& path) override {
        openedFolders.push_back(path);
        return result;
    }
    gui::MailResult composeMail(const gui::MailMessage& mail) override {
        mails.push_back(mail);
        return mailResult;
    }
    bool startDetached(const QString& program, const QStringList& arguments, const QString& folder) override {
        started.push_back({program, arguments, folder});
        return result;
    }
};

} // namespace kv::test
