#pragma once

#include "gui/Prompter.h"

#include <QColor>
#include <QString>
#include <QUrl>

#include <deque>
#include <functional>
#include <vector>

class QApplication;

namespace kv::test {

// Answers every question, file dialog and child dialog of a window under test, and records what was shown.
class FakePrompter final : public gui::Prompter {
public:
    struct Shown {
        QString text;
        QString caption;
    };

    std::deque<bool> answers; // for askYesNo, in order; when empty, `defaultAnswer`
    bool defaultAnswer = false;
    QString saveAnswer;                          // the file chosen in a save dialog ("" = cancel)
    QString openAnswer;                          // the file chosen in an open dialog ("" = cancel)
    std::function<bool(QDialog&)> dialogHandler; // a child dialog; unset: cancelled
    std::deque<QColor> colourAnswers; // for chooseColour, in order; when empty, cancelled (an invalid colour)

    std::vector<Shown> questions;
    std::vector<Shown> errors;
    std::vector<Shown> informations;
    QString proposedSavePath;
    QString saveSuffix; // the default suffix the save dialog was given
    QString openFolder;
    QString openFilter;
    std::vector<QUrl> urls;
    int dialogsRun = 0;
    struct ColourAsked {
        QColor initial;
        QString caption;
    };
    std::vector<ColourAsked> coloursAsked;

    bool askYesNo(QWidget* parent, const QString& text, const QString& caption) override;
    void showError(QWidget* parent, const QString& text, const QString& caption) override;
    void showInformation(QWidget* parent, const QString& text, const QString& caption) override;
    // Adds the default suffix to an answer without one, as the real dialog does.
    QString saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath, const QString& filter,
                         const QString& defaultSuffix = {}) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    bool runDialog(QDialog& dialog) override;
    bool openUrl(const QUrl& url) override;
    QColor chooseColour(QWidget* parent, const QColor& initial, const QString& caption) override;
};

// The process's QApplication for window tests (offscreen unless QT_QPA_PLATFORM says otherwise).
QApplication& guiApp();

} // namespace kv::test
