#include "manager/ui/setup/details/CServerDetailsMapInfoPropertyPage.h"

#include "manager/setups/MapTable.h"
#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"

#include "gui/SlotGuard.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace kv::manager::ui {

namespace {

QPushButton* button(QWidget* parent, const char* text, const char* name) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

CServerDetailsMapInfoPropertyPage::CServerDetailsMapInfoPropertyPage(setups::ServerSetup& setup,
                                                                     gui::Prompter& prompter,
                                                                     const setups::MapTable& maps,
                                                                     const setups::GameVersion& installed,
                                                                     QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("maps"), parent), maps_(maps) {
    auto* form = new QFormLayout(this);
    single_ = new QRadioButton(QStringLiteral("Play one map"), this);
    single_->setObjectName(QStringLiteral("singleMap"));
    cycle_ = new QRadioButton(QStringLiteral("Rotate through a list of maps"), this);
    cycle_->setObjectName(QStringLiteral("cycleMaps"));
    auto* group = new QButtonGroup(this);
    group->addButton(single_);
    group->addButton(cycle_);
    form->addRow(single_);
    map_ = addList(form, "Map:", "mapName");
    form->addRow(cycle_);

    rotationChoice_ = new QComboBox(this);
    rotationChoice_->setObjectName(QStringLiteral("rotationChoice"));
    for (std::size_t i = 0; i < maps.size(); ++i) {
        const setups::MapInfo& row = maps.row(i);
        if (!setups::mapAvailable(row, installed) || !setup.mapAllowed(row.title))
            continue;
        const QString title = fieldText(row.title);
        map_->addItem(title, QByteArray::fromStdString(row.title));
        rotationChoice_->addItem(title, QByteArray::fromStdString(row.title));
    }
    rotation_ = new QListWidget(this);
    rotation_->setObjectName(QStringLiteral("rotation"));
    add_ = button(this, "Add", "addMap");
    remove_ = button(this, "Remove", "removeMap");
    up_ = button(this, "Move Up", "moveMapUp");
    down_ = button(this, "Move Down", "moveMapDown");
    auto* grid = new QGridLayout;
    grid->addWidget(rotationChoice_, 0, 0);
    grid->addWidget(add_, 0, 1);
    grid->addWidget(rotation_, 1, 0, 4, 1);
    grid->addWidget(remove_, 1, 1);
    grid->addWidget(up_, 2, 1);
    grid->addWidget(down_, 3, 1);
    form->addRow(grid);

    QComboBox* matches = addList(form, "Matches to complete before rotating to a new map:", "matchesBeforeCycle");
    choices::addNumbers(matches, 1, 10);
    bindings_.choice(matches, setup.m_iMatchesBeforeCycle, choices::number);
    QComboBox* warmup = addList(form, "Server Delay Time after map rotation:", "initialWarmup");
    choices::addNumbers(warmup, 10, 60, 5);
    bindings_.choice(warmup, setup.m_iInitialWarmupTime, choices::number);

    bindings_.custom([this, &setup] { (setup.m_fCycleMaps ? cycle_ : single_)->setChecked(true); },
                     [this, &setup] { setup.m_fCycleMaps = cycle_->isChecked() ? 1 : 0; },
                     [this] { return QVariant(cycle_->isChecked()); });
    // The map's file follows the map chosen; a map the table does not know keeps the file it came with.
    bindings_.custom(
        [this, &setup] {
            FieldBindings::select(map_, QByteArray::fromStdString(setup.m_csMapName), fieldText(setup.m_csMapName));
        },
        [this, &setup] {
            setup.m_csMapName = map_->currentData().toByteArray().toStdString();
            if (const setups::MapInfo* row = maps_.find(setup.m_csMapName))
                setup.m_csMapFile = row->name;
        },
        [this] { return QVariant(map_->currentIndex()); });
    bindings_.custom(
        [this, &setup] {
            rotation_->clear();
            for (const std::string& title : setup.m_acsCycleMapList)
                if (!title.empty())
                    rotation_->addItem(fieldText(title));
            updateButtons();
        },
        [this, &setup] {
            for (std::size_t i = 0; i < setup.m_acsCycleMapList.size(); ++i)
                setup.m_acsCycleMapList[i] = i < static_cast<std::size_t>(rotation_->count())
                                                 ? fieldBytes(rotation_->item(static_cast<int>(i))->text())
                                                 : std::string();
        },
        [this] {
            QStringList titles;
            for (int i = 0; i < rotation_->count(); ++i)
                titles << rotation_->item(i)->text();
            return QVariant(titles);
        });

    connect(cycle_, &QRadioButton::toggled, this, gui::guarded([this](bool) { updateButtons(); }));
    connect(rotation_, &QListWidget::currentRowChanged, this, gui::guarded([this](int) { updateButtons(); }));
    connect(add_, &QPushButton::clicked, this, gui::guarded([this](bool) { addToRotation(); }));
    connect(remove_, &QPushButton::clicked, this, gui::guarded([this](bool) { removeFromRotation(); }));
    connect(up_, &QPushButton::clicked, this, gui::guarded([this](bool) { moveInRotation(-1); }));
    connect(down_, &QPushButton::clicked, this, gui::guarded([this](bool) { moveInRotation(1); }));
    updateButtons();
}

void CServerDetailsMapInfoPropertyPage::addToRotation() {
    if (rotationChoice_->currentIndex() < 0 || rotation_->count() >= 20)
        return;
    rotation_->addItem(rotationChoice_->currentText());
    rotation_->setCurrentRow(rotation_->count() - 1);
    updateButtons();
}

void CServerDetailsMapInfoPropertyPage::removeFromRotation() {
    const int row = rotation_->currentRow();
    if (row >= 0)
        delete rotation_->takeItem(row);
    updateButtons();
}

void CServerDetailsMapInfoPropertyPage::moveInRotation(int step) {
    const int row = rotation_->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= rotation_->count())
        return;
    rotation_->insertItem(to, rotation_->takeItem(row));
    rotation_->setCurrentRow(to);
    updateButtons();
}

void CServerDetailsMapInfoPropertyPage::updateButtons() {
    const bool cycle = cycle_->isChecked();
    const int row = rotation_->currentRow();
    map_->setEnabled(!cycle);
    rotationChoice_->setEnabled(cycle);
    rotation_->setEnabled(cycle);
    add_->setEnabled(cycle && rotation_->count() < 20);
    remove_->setEnabled(cycle && row >= 0);
    up_->setEnabled(cycle && row > 0);
    down_->setEnabled(cycle && row >= 0 && row + 1 < rotation_->count());
}

} // namespace kv::manager::ui
