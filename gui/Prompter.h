#pragma once

#include <QColor>
#include <QString>

class QDialog;
class QUrl;
class QWidget;

namespace kv::gui {

// Every question, message, file dialog, child dialog and web page that a window shows goes through this, so that
// tests can answer them instead of blocking on a modal dialog.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Yes/No with the question icon; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual void showError(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual void showInformation(QWidget* parent, const QString& text, const QString& caption) = 0;
    // File dialogs; an empty result means cancelled. The save dialog adds `defaultSuffix` (without its dot) to a
    // name typed without one before it confirms overwriting, so that the question is about the file written.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                                 const QString& filter, const QString& defaultSuffix = {}) = 0;
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // Runs a child dialog modally; true when it was accepted.
    virtual bool runDialog(QDialog& dialog) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
    // The colour chooser, starting at `initial`; an invalid colour means cancelled.
    virtual QColor chooseColour(QWidget* parent, const QColor& initial, const QString& caption) = 0;
};

} // namespace kv::gui
