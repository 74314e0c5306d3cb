#pragma once

#include "gui/Prompter.h"

namespace kv::gui {

// The real thing: message boxes, file dialogs, exec(), the desktop's URL handler.
class QtPrompter final : public Prompter {
public:
    bool askYesNo(QWidget* parent, const QString& text, const QString& caption) override;
    void showError(QWidget* parent, const QString& text, const QString& caption) override;
    void showInformation(QWidget* parent, const QString& text, const QString& caption) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath, const QString& filter,
                         const QString& defaultSuffix = {}) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    bool runDialog(QDialog& dialog) override;
    bool openUrl(const QUrl& url) override;
    QColor chooseColour(QWidget* parent, const QColor& initial, const QString& caption) override;
};

} // namespace kv::gui
