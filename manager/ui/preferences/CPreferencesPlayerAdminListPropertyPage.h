#pragma once

#include "manager/ui/preferences/CPreferencesPage.h"

#include <QStringList>

#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv::manager::ui {

// "Player Admin List": the player administrators that new setups start with, kept sorted. The stored value is every
// name followed by "&", so a name cannot hold "&": while the field holds one, "Add Player Admin" stays disabled and a
// hint says why.
class CPreferencesPlayerAdminListPropertyPage : public CPreferencesPage {
    Q_OBJECT
public:
    CPreferencesPlayerAdminListPropertyPage(const core::ManagerContext& context, gui::Prompter& prompter,
                                            gui::DesktopServices& desktop, QWidget* parent = nullptr);

    void store(core::ManagerSettings& settings) const override;

    // The buttons' actions.
    void addName();
    void removeSelectedName();

    // The names in list order.
    QStringList names() const;

    // The stored value split at "&" (empty parts left out), and the names joined back, each followed by "&".
    static QStringList splitNames(const std::string& stored);
    static std::string joinNames(const QStringList& names);

    QListWidget* list() const { return list_; }
    QLineEdit* nameField() const { return field_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }
    QLabel* hint() const { return hint_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void insertSorted(const QString& name);
    void updateButtons();

    QListWidget* list_ = nullptr;
    QLineEdit* field_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QLabel* hint_ = nullptr;
};

} // namespace kv::manager::ui
