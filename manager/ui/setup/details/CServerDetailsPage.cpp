#include "manager/ui/setup/details/CServerDetailsPage.h"

#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace kv::manager::ui {

CServerDetailsPage::CServerDetailsPage(setups::ServerSetup& setup, gui::Prompter& prompter, QString helpSection,
                                       QWidget* parent)
    : QWidget(parent), setup_(setup), prompter_(prompter), helpSection_(std::move(helpSection)) {}

void CServerDetailsPage::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        bindings_.load();
    }
    QWidget::showEvent(event);
    shownAgain();
}

QCheckBox* CServerDetailsPage::addFlag(QFormLayout* form, const char* text, int& field, const char* objectName) {
    auto* box = new QCheckBox(QString::fromUtf8(text), this);
    box->setObjectName(QString::fromUtf8(objectName));
    form->addRow(box);
    bindings_.flag(box, field);
    return box;
}

QLineEdit* CServerDetailsPage::addText(QFormLayout* form, const char* label, std::string& field,
                                       const char* objectName) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromUtf8(objectName));
    CleanTextValidator::attach(edit);
    form->addRow(QString::fromUtf8(label), edit);
    bindings_.text(edit, field);
    return edit;
}

QComboBox* CServerDetailsPage::addList(QFormLayout* form, const char* label, const char* objectName) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromUtf8(objectName));
    form->addRow(QString::fromUtf8(label), box);
    return box;
}

} // namespace kv::manager::ui
