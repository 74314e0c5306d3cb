#pragma once

#include <QTextBrowser>

#include <string>

namespace kv::manager::ui {

// Shows the pages of the LeagueInfo folder. League pages come from leagues and by e-mail: nothing runs in them, no
// link is followed, and a page may pull in nothing but the regular files of the folder itself (its style sheet and
// pictures) - no remote address, no file elsewhere on the machine.
class LeaguePageView : public QTextBrowser {
    Q_OBJECT
public:
    // A page or a picture larger than this is no league page.
    static constexpr qint64 kMaxResourceBytes = 4 * 1024 * 1024;

    LeaguePageView(const std::string& leagueFolder, QWidget* parent = nullptr);

    // Shows a page of the folder; an empty view when there is no such page.
    void showPage(const std::string& path);
    // What the page is allowed to load; refused resources come back invalid.
    QVariant loadResource(int type, const QUrl& name) override;

private:
    bool allowed(const QUrl& url) const;

    QString folder_;
};

} // namespace kv::manager::ui
