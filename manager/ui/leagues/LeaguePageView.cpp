#include "manager/ui/leagues/LeaguePageView.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace kv::manager::ui {

LeaguePageView::LeaguePageView(const std::string& leagueFolder, QWidget* parent)
    : QTextBrowser(parent), folder_(QFile::decodeName(QByteArray::fromStdString(leagueFolder))) {
    setObjectName(QStringLiteral("leaguePage"));
    setOpenExternalLinks(false);
    setOpenLinks(false);
    setReadOnly(true);
}

void LeaguePageView::showPage(const std::string& path) {
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    if (path.empty() || !QFileInfo(file).isFile()) {
        setSource(QUrl());
        clear();
        return;
    }
    setSource(QUrl::fromLocalFile(file));
}

bool LeaguePageView::allowed(const QUrl& url) const {
    if (!url.isLocalFile())
        return false;
    // Links are resolved first, so that a link inside the folder cannot lead out of it.
    const QString target = QFileInfo(url.toLocalFile()).canonicalFilePath();
    const QString folder = QFileInfo(folder_).canonicalFilePath();
    if (target.isEmpty() || folder.isEmpty())
        return false;
    const QFileInfo info(target);
    return info.isFile() && info.size() <= kMaxResourceBytes && info.path() == folder;
}

QVariant LeaguePageView::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (!allowed(url))
        return {};
    return QTextBrowser::loadResource(type, url);
}

} // namespace kv::manager::ui
