#include "manager/ui/setup/CWizardChoicesPropertyPage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv::manager::ui {

CWizardChoicesPropertyPage::CWizardChoicesPropertyPage(WizardState& state, const QString& title,
                                                       const QString& helpTopic, const QString& explanation,
                                                       std::vector<Choice> choices,
                                                       std::function<void(WizardState&)> beforeFill, QWidget* parent)
    : CWizardPage(state, title, helpTopic, parent), choices_(std::move(choices)), beforeFill_(std::move(beforeFill)) {
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(explanation, this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* form = new QFormLayout;
    for (const Choice& choice : choices_) {
        auto* list = new QComboBox(this);
        list->setObjectName(choice.objectName);
        fillList(*list, choice.entries);
        form->addRow(choice.label, list);
        lists_.push_back(list);
    }
    layout->addLayout(form);
    layout->addStretch();
}

void CWizardChoicesPropertyPage::fill() {
    if (beforeFill_)
        beforeFill_(state_);
    for (std::size_t i = 0; i < choices_.size(); ++i)
        selectValue(*lists_[i], choices_[i].get(state_.setup));
}

bool CWizardChoicesPropertyPage::take() {
    for (std::size_t i = 0; i < choices_.size(); ++i)
        choices_[i].set(state_.setup, chosenValue(*lists_[i]));
    return true;
}

CWizardChoicesPropertyPage::Choice intChoice(const char* label, const char* objectName, ListEntries entries,
                                             int setups::ServerSetup::*field) {
    return {QString::fromUtf8(label), QString::fromUtf8(objectName), std::move(entries),
            [field](const setups::ServerSetup& s) { return s.*field; },
            [field](setups::ServerSetup& s, int v) { s.*field = v; }};
}

} // namespace kv::manager::ui
