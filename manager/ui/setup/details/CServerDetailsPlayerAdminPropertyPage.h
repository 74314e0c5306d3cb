#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv::core {
struct ManagerContext;
}

namespace kv::manager::ui {

// Player admins: the players who get administrator rights on this server. The setup keeps them joined with "&", so
// a name cannot hold one. "Copy To Default List" adds the names to the preferences' default list at once.
class CServerDetailsPlayerAdminPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsPlayerAdminPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                          core::ManagerContext& context, QWidget* parent = nullptr);

    void addName();
    void removeSelected();
    void removeAll();
    // Adds the names that the default list lacks to it, writes the preferences and says which were added.
    void copyToDefault();

    QStringList names() const;
    QListWidget* list() const { return list_; }
    QLineEdit* nameField() const { return field_; }

private:
    void updateButtons();

    core::ManagerContext& context_;
    QListWidget* list_ = nullptr;
    QLineEdit* field_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* removeAll_ = nullptr;
};

} // namespace kv::manager::ui
