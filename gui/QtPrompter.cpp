#include "gui/QtPrompter.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace kv::gui {

namespace {

// Messages carry names that came from elsewhere (a host's lists, a received file): shown as plain text, so that
// markup in them is never drawn or followed.
QMessageBox::StandardButton showPlain(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

bool QtPrompter::askYesNo(QWidget* parent, const QString& text, const QString& caption) {
    return showPlain(parent, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                     QMessageBox::No) == QMessageBox::Yes;
}

void QtPrompter::showError(QWidget* parent, const QString& text, const QString& caption) {
    showPlain(parent, QMessageBox::Critical, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtPrompter::showInformation(QWidget* parent, const QString& text, const QString& caption) {
    showPlain(parent, QMessageBox::Information, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

QString QtPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                                 const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(parent, caption, proposedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

QString QtPrompter::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

bool QtPrompter::runDialog(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompter::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QColor QtPrompter::chooseColour(QWidget* parent, const QColor& initial, const QString& caption) {
    return QColorDialog::getColor(initial, parent, caption); // invalid when cancelled
}

} // namespace kv::gui
