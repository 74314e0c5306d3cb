#pragma once

#include "manager/ui/setup/CWizardPage.h"
#include "manager/ui/setup/WizardLists.h"

#include <functional>
#include <vector>

class QComboBox;

namespace kv::manager::ui {

// A page of labelled drop-down lists, each bound to one value of the setup: match length, pause length, side
// switching, mission planning, scoreboard.
class CWizardChoicesPropertyPage : public CWizardPage {
    Q_OBJECT
public:
    struct Choice {
        QString label;
        QString objectName;
        ListEntries entries;
        std::function<int(const setups::ServerSetup&)> get;
        std::function<void(setups::ServerSetup&, int)> set;
    };

    CWizardChoicesPropertyPage(WizardState& state, const QString& title, const QString& helpTopic,
                               const QString& explanation, std::vector<Choice> choices,
                               std::function<void(WizardState&)> beforeFill = {}, QWidget* parent = nullptr);

protected:
    void fill() override;
    bool take() override;

private:
    std::vector<Choice> choices_;
    std::vector<QComboBox*> lists_;
    std::function<void(WizardState&)> beforeFill_;
};

// A choice bound to an integer field.
CWizardChoicesPropertyPage::Choice intChoice(const char* label, const char* objectName, ListEntries entries,
                                             int setups::ServerSetup::*field);

} // namespace kv::manager::ui
