#include "gui/QtPrompter.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace kv::gui {

bool QtPrompter::askYesNo(QWidget* parent, const QString& text, const QString& caption) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtPrompter::showError(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox::critical(parent, caption, text);
}

void QtPrompter::showInformation(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox::information(parent, caption, text);
}

QString QtPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                                 const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter);
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
