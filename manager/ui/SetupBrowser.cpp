#include "manager/ui/SetupBrowser.h"

#include "manager/core/ManagerContext.h"
#include "manager/setups/SetupDescription.h"
#include "manager/ui/LibraryLoader.h"

#include "common/Files.h"
#include "common/Text.h"
#include "gui/ColourRef.h"
#include "gui/SlotGuard.h"

#include <QFont>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QSplitter>

namespace kv::manager::ui {

const char* const SetupBrowser::kRootHelp =
    "Server setups are sorted in two groups.\n\n"
    "Standard Server Setups are ordinary game servers that players join and leave at will.\n\n"
    "Tournament Server Setups run organised matches between two teams, with warm-up, pauses and swaps.\n\n"
    "Open a group and select a setup to read what it does.";
const char* const SetupBrowser::kCategoryHelp =
    "Setups in a group share the map they run, the number of maps they rotate through, or, for tournaments, the "
    "event and the team size.\n\n"
    "Select a setup below this heading to read its description. Use the File menu to copy, delete, generate or "
    "e-mail the selected setup.";

SetupBrowser::SetupBrowser(const core::ManagerContext& context, QWidget* parent)
    : QWidget(parent), context_(context),
      maps_(setups::MapTable::load(joinPath(context.workingFolder, "MapInfo.xml"))) {
    loader_ = new LibraryLoader(context.workingFolder, this);
    tree_ = new SetupTree(this);
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("setupDescription"));
    description_->setReadOnly(true);
    description_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(9);
    description_->setFont(font);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(tree_);
    splitter_->addWidget(description_);
    splitter_->setStretchFactor(0, 2);
    splitter_->setStretchFactor(1, 3);
    splitter_->setChildrenCollapsible(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
    setTabOrder(tree_, description_);

    connect(loader_, &LibraryLoader::loaded, this,
            gui::guarded([this](const LibraryEntries& entries, qint64) { tree_->showEntries(entries); }));
    connect(tree_, &SetupTree::built, this, gui::guarded([this] {
                lastLoadMs_ = loadTimer_.elapsed();
                reloading_ = false;
                auto then = std::move(then_);
                then_ = nullptr;
                if (then)
                    then(*tree_);
                if (!tree_->currentItem())
                    tree_->selectNode(tree_->topLevelItem(0));
                showDescription();
                emit loaded();
            }));
    connect(tree_, &QTreeWidget::currentItemChanged, this, gui::guarded([this](QTreeWidgetItem*, QTreeWidgetItem*) {
                showDescription();
                emit selectionChanged();
            }));
    applyColours(context.settings);
}

SetupBrowser::~SetupBrowser() = default;

void SetupBrowser::reload(std::function<void(SetupTree&)> then) {
    then_ = std::move(then);
    reloading_ = true;
    loadTimer_.start();
    // The map table may have been replaced since (it is the administrator's file); descriptions follow it.
    maps_ = setups::MapTable::load(joinPath(context_.workingFolder, "MapInfo.xml"));
    loader_->load();
}

bool SetupBrowser::setupSelected() const {
    return SetupTree::kindOf(tree_->currentItem()) == NodeKind::Setup && tree_->currentItem();
}

std::string SetupBrowser::selectedFile() const {
    return SetupTree::fileOf(tree_->currentItem());
}

std::string SetupBrowser::selectedName() const {
    return setupSelected() ? SetupTree::nameOf(tree_->currentItem()) : std::string();
}

void SetupBrowser::showDescription() {
    const QTreeWidgetItem* item = tree_->currentItem();
    if (!item) {
        description_->clear();
        return;
    }
    switch (SetupTree::kindOf(item)) {
    case NodeKind::Root:
        description_->setPlainText(QString::fromUtf8(kRootHelp));
        return;
    case NodeKind::Category:
        description_->setPlainText(QString::fromUtf8(kCategoryHelp));
        return;
    case NodeKind::Setup:
        break;
    }
    setups::ServerSetup setup;
    const setups::SetupStore store(context_.workingFolder);
    if (!store.load(SetupTree::fileOf(item), setup)) {
        description_->setPlainText(QStringLiteral("This server setup could not be read. Its file may have been "
                                                  "changed or removed since the list was made."));
        return;
    }
    std::string text = setups::describeSetup(setup, maps_, true);
    description_->setPlainText(QString::fromUtf8(replaceAll(text, "\r\n", "\n")));
}

void SetupBrowser::applyColours(const core::ManagerSettings& settings) {
    QPalette treePalette = tree_->palette();
    treePalette.setColor(QPalette::Base, gui::fromColourRef(settings.listBgColor));
    treePalette.setColor(QPalette::Window, gui::fromColourRef(settings.listBgColor));
    treePalette.setColor(QPalette::Text, gui::fromColourRef(settings.listTextColor));
    tree_->setPalette(treePalette);
    QPalette textPalette = description_->palette();
    textPalette.setColor(QPalette::Base, gui::fromColourRef(settings.bgColor));
    textPalette.setColor(QPalette::Text, gui::fromColourRef(settings.textColor));
    description_->setPalette(textPalette);
}

} // namespace kv::manager::ui
