#include "manager/ui/setup/CStandardWizardMapSelectionPropertyPage.h"

#include "manager/ui/setup/WizardLists.h"

#include "common/Files.h"
#include "gui/SlotGuard.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {
QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
} // namespace

CStandardWizardMapSelectionPropertyPage::CStandardWizardMapSelectionPropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Map Selection"),
                  state.kind == SetupKind::Standard ? QStringLiteral("StandardWizardMapSelectionHelp")
                                                    : QStringLiteral("TournamentWizardMapHelp"),
                  parent) {
    auto* layout = new QVBoxLayout(this);
    single_ = new QRadioButton(QStringLiteral("Play one map"), this);
    single_->setObjectName(QStringLiteral("singleMap"));
    rotate_ = new QRadioButton(QStringLiteral("Rotate through several maps"), this);
    rotate_->setObjectName(QStringLiteral("rotateMaps"));
    auto* modes = new QHBoxLayout;
    modes->addWidget(single_);
    modes->addWidget(rotate_);
    modes->addStretch();
    layout->addLayout(modes);
    const bool standard = state.kind == SetupKind::Standard;
    single_->setVisible(standard);
    rotate_->setVisible(standard);

    auto* row = new QHBoxLayout;
    maps_ = new QListWidget(this);
    maps_->setObjectName(QStringLiteral("maps"));
    row->addWidget(maps_, 1);
    rotationBox_ = new QWidget(this);
    auto* rotationLayout = new QHBoxLayout(rotationBox_);
    rotationLayout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QVBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Add >>"), rotationBox_);
    add->setObjectName(QStringLiteral("addMap"));
    auto* remove = new QPushButton(QStringLiteral("<< Remove"), rotationBox_);
    remove->setObjectName(QStringLiteral("removeMap"));
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    rotationLayout->addLayout(buttons);
    auto* right = new QVBoxLayout;
    rotation_ = new QListWidget(rotationBox_);
    rotation_->setObjectName(QStringLiteral("rotation"));
    right->addWidget(rotation_, 1);
    auto* form = new QFormLayout;
    matches_ = new QComboBox(rotationBox_);
    matches_->setObjectName(QStringLiteral("matchesBeforeCycle"));
    fillList(*matches_, numberEntries(1, 10));
    form->addRow(QStringLiteral("Matches on each map before switching:"), matches_);
    right->addLayout(form);
    rotationLayout->addLayout(right, 1);
    row->addWidget(rotationBox_, 1);
    layout->addLayout(row, 1);

    auto* info = new QHBoxLayout;
    picture_ = new QLabel(this);
    picture_->setFixedSize(160, 120);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    info->addWidget(picture_);
    about_ = new QPlainTextEdit(this);
    about_->setObjectName(QStringLiteral("mapDescription"));
    about_->setReadOnly(true);
    about_->setMaximumHeight(120);
    info->addWidget(about_, 1);
    layout->addLayout(info);

    connect(maps_, &QListWidget::currentRowChanged, this, gui::guarded([this](int) { showMap(); }));
    connect(rotate_, &QRadioButton::toggled, this, gui::guarded([this](bool) { updateMode(); }));
    connect(add, &QPushButton::clicked, this, gui::guarded([this](bool) { addToRotation(); }));
    connect(remove, &QPushButton::clicked, this, gui::guarded([this](bool) { removeFromRotation(); }));
    connect(maps_, &QListWidget::itemDoubleClicked, this, gui::guarded([this](QListWidgetItem*) {
                if (rotate_->isChecked())
                    addToRotation();
            }));
}

void CStandardWizardMapSelectionPropertyPage::fill() {
    const setups::ServerSetup& s = state_.setup;
    maps_->clear();
    for (const setups::MapInfo* map : offeredMaps(state_.maps, s, state_.installed, state_.kind))
        maps_->addItem(qs(map->title));
    const auto found = maps_->findItems(qs(s.m_csMapName), Qt::MatchFixedString);
    maps_->setCurrentRow(found.isEmpty() ? 0 : maps_->row(found.front()));
    rotation_->clear();
    for (const std::string& name : s.m_acsCycleMapList)
        if (!name.empty() && s.mapAllowed(name))
            rotation_->addItem(qs(name));
    selectValue(*matches_, s.m_iMatchesBeforeCycle);
    const bool rotating = state_.kind == SetupKind::Standard && s.m_fCycleMaps != 0;
    (rotating ? rotate_ : single_)->setChecked(true);
    updateMode();
}

void CStandardWizardMapSelectionPropertyPage::updateMode() {
    rotationBox_->setVisible(rotate_->isChecked());
}

void CStandardWizardMapSelectionPropertyPage::addToRotation() {
    if (QListWidgetItem* item = maps_->currentItem(); item && rotation_->count() < kMaxRotation)
        rotation_->addItem(item->text());
}

void CStandardWizardMapSelectionPropertyPage::removeFromRotation() {
    delete rotation_->takeItem(rotation_->currentRow());
}

void CStandardWizardMapSelectionPropertyPage::showMap() {
    picture_->clear();
    about_->clear();
    const QListWidgetItem* item = maps_->currentItem();
    const setups::MapInfo* map = item ? state_.maps.find(item->text().toStdString()) : nullptr;
    if (!map)
        return;
    about_->setPlainText(qs(map->description).remove(QLatin1Char('\r')));
    if (!map->extImage.empty() && setups::isUsableSetupName(map->extImage)) {
        const QPixmap image(QFile::decodeName(
            QByteArray::fromStdString(joinPath(joinPath(state_.context.workingFolder, "MapImages"), map->extImage))));
        if (!image.isNull())
            picture_->setPixmap(image.scaled(picture_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

bool CStandardWizardMapSelectionPropertyPage::take() {
    setups::ServerSetup& s = state_.setup;
    const bool rotating = rotate_->isChecked() && state_.kind == SetupKind::Standard;
    std::string first;
    if (rotating) {
        if (rotation_->count() == 0) {
            tell("Please add at least one map to the map rotation.", "Map Selection");
            return false;
        }
        for (int i = 0; i < kMaxRotation; ++i)
            s.m_acsCycleMapList[static_cast<std::size_t>(i)] =
                i < rotation_->count() ? rotation_->item(i)->text().toStdString() : std::string();
        s.m_iMatchesBeforeCycle = chosenValue(*matches_);
        first = s.m_acsCycleMapList[0];
    } else {
        const QListWidgetItem* item = maps_->currentItem();
        if (!item) {
            tell("Please choose a map for this server setup.", "Map Selection");
            return false;
        }
        first = item->text().toStdString();
        s.m_acsCycleMapList = {};
    }
    s.m_fCycleMaps = rotating ? 1 : 0;
    s.countMaps();
    const setups::MapInfo* map = state_.maps.find(first);
    s.m_csMapName = first;
    s.m_csMapFile = map ? map->name : std::string();
    if (map && map->cooperative() && map->recommendedMaxPlayers > 0) {
        s.m_iMaxPlayers = map->recommendedMaxPlayers;
        s.m_iMaxTeamSize = map->recommendedMaxPlayers;
    }
    return true;
}

} // namespace kv::manager::ui
