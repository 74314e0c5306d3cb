#pragma once

#include "manager/ui/setup/details/FieldBindings.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;

namespace kv::setups {
struct ServerSetup;
}

namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

// What every page of "Edit Server Setup Options" shares: the one setup of the sheet, the questions it asks, its
// section of the help page, and the rule that a page fills its controls when first shown and writes back only then.
class CServerDetailsPage : public QWidget {
    Q_OBJECT
public:
    CServerDetailsPage(setups::ServerSetup& setup, gui::Prompter& prompter, QString helpSection, QWidget* parent);

    bool wasShown() const { return shown_; }
    const QString& helpSection() const { return helpSection_; }

    // Before OK: false (after saying why, with the focus on the field) when the page's values cannot be taken.
    virtual bool check() { return true; }
    // Writes the page's fields into the setup; only for a page that was shown.
    virtual void store() { bindings_.store(); }

protected:
    void showEvent(QShowEvent* event) override;
    // Each time the page comes up, after its controls were filled.
    virtual void shownAgain() {}

    // Builders for the usual rows of a page.
    QCheckBox* addFlag(QFormLayout* form, const char* text, int& field, const char* objectName);
    QLineEdit* addText(QFormLayout* form, const char* label, std::string& field, const char* objectName);
    QComboBox* addList(QFormLayout* form, const char* label, const char* objectName);

    setups::ServerSetup& setup_;
    gui::Prompter& prompter_;
    FieldBindings bindings_;

private:
    QString helpSection_;
    bool shown_ = false;
};

} // namespace kv::manager::ui
