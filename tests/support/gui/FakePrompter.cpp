#include "tests/support/gui/FakePrompter.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>

#include <cstdlib>

namespace kv::test {

bool FakePrompter::askYesNo(QWidget*, const QString& text, const QString& caption) {
    questions.push_back({text, caption});
    if (answers.empty())
        return defaultAnswer;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakePrompter::showError(QWidget*, const QString& text, const QString& caption) {
    errors.push_back({text, caption});
}

void FakePrompter::showInformation(QWidget*, const QString& text, const QString& caption) {
    informations.push_back({text, caption});
}

QString FakePrompter::saveFileName(QWidget*, const QString&, const QString& proposedPath, const QString&,
                                   const QString& defaultSuffix) {
    proposedSavePath = proposedPath;
    saveSuffix = defaultSuffix;
    if (saveAnswer.isEmpty() || defaultSuffix.isEmpty() || !QFileInfo(saveAnswer).suffix().isEmpty())
        return saveAnswer;
    return saveAnswer + QLatin1Char('.') + defaultSuffix;
}

QString FakePrompter::openFileName(QWidget*, const QString&, const QString& folder, const QString& filter) {
    openFolder = folder;
    openFilter = filter;
    return openAnswer;
}

bool FakePrompter::runDialog(QDialog& dialog) {
    ++dialogsRun;
    if (!dialogHandler)
        return false;
    return dialogHandler(dialog);
}

bool FakePrompter::openUrl(const QUrl& url) {
    urls.push_back(url);
    return true;
}

QColor FakePrompter::chooseColour(QWidget*, const QColor& initial, const QString& caption) {
    coloursAsked.push_back({initial, caption});
    if (colourAnswers.empty())
        return QColor();
    const QColor answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

QApplication& guiApp() {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "kv_gui_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace kv::test
