#pragma once

#include "manager/ui/setup/details/CServerDetailsPage.h"

class QListWidget;
class QPushButton;
class QRadioButton;

namespace kv::setups {
class MapTable;
struct GameVersion;
} // namespace kv::setups

namespace kv::manager::ui {

// Map information: one map, or a rotation of up to twenty maps, with the matches played on each map and the delay
// after a change of map. The lists offer the maps of the installed game that the setup's league allows.
class CServerDetailsMapInfoPropertyPage : public CServerDetailsPage {
    Q_OBJECT
public:
    CServerDetailsMapInfoPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter, const setups::MapTable& maps,
                                      const setups::GameVersion& installed, QWidget* parent = nullptr);

    // The rotation's buttons.
    void addToRotation();
    void removeFromRotation();
    void moveInRotation(int step);

    QListWidget* rotation() const { return rotation_; }

private:
    void updateButtons();

    const setups::MapTable& maps_;
    QRadioButton* single_ = nullptr;
    QRadioButton* cycle_ = nullptr;
    QComboBox* map_ = nullptr;
    QComboBox* rotationChoice_ = nullptr;
    QListWidget* rotation_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
};

} // namespace kv::manager::ui
