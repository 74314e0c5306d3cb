#include "gui/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

// Answers the next message box with `button`, noting how it would draw its text.
void answerNextBox(QMessageBox::StandardButton button, Qt::TextFormat* format, QString* text) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *format = box->textFormat();
        *text = box->text();
        box->button(button)->click();
    });
}

TEST(QtPrompter, MessagesShowNamesFromElsewhereAsPlainTextAndQuestionsReturnTheAnswer) {
    app();
    kv::gui::QtPrompter prompter;
    const QString hostile = QStringLiteral("Setup <b>bold</b> <a href=\"file:///etc\">link</a>");
    Qt::TextFormat format = Qt::AutoText;
    QString shown;

    answerNextBox(QMessageBox::Ok, &format, &shown);
    prompter.showError(nullptr, hostile, QStringLiteral("Caption"));
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, hostile);

    format = Qt::AutoText;
    answerNextBox(QMessageBox::Ok, &format, &shown);
    prompter.showInformation(nullptr, hostile, QStringLiteral("Caption"));
    EXPECT_EQ(format, Qt::PlainText);

    answerNextBox(QMessageBox::Yes, &format, &shown);
    EXPECT_TRUE(prompter.askYesNo(nullptr, hostile, QStringLiteral("Caption")));
    answerNextBox(QMessageBox::No, &format, &shown);
    EXPECT_FALSE(prompter.askYesNo(nullptr, hostile, QStringLiteral("Caption")));
    EXPECT_EQ(format, Qt::PlainText);
}

} // namespace
