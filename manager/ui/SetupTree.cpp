#include "manager/ui/SetupTree.h"

#include "common/Text.h"
#include "gui/SlotGuard.h"

#include <QHeaderView>

namespace kv::manager::ui {

namespace {

using setups::LibraryRoot;

constexpr int kKindRole = Qt::UserRole;
constexpr int kRootRole = Qt::UserRole + 1;
constexpr int kBytesRole = Qt::UserRole + 2; // setup: file path; category: label (the exact bytes)
constexpr int kNameRole = Qt::UserRole + 3;  // setup: m_csName (the exact bytes)

QTreeWidgetItem* newNode(NodeKind kind, LibraryRoot root, const std::string& label) {
    auto* item = new QTreeWidgetItem(QStringList{SetupTree::labelFor(label)});
    item->setData(0, kKindRole, static_cast<int>(kind));
    item->setData(0, kRootRole, static_cast<int>(root));
    item->setData(0, kBytesRole, QByteArray::fromStdString(label));
    item->setData(0, kNameRole, QByteArray::fromStdString(label));
    return item;
}

std::string bytes(const QTreeWidgetItem* item, int role) {
    return item ? item->data(0, role).toByteArray().toStdString() : std::string();
}

} // namespace

SetupTree::SetupTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("setupTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true); // lets the view lay out thousands of rows without measuring each
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, gui::guarded([this](auto&&...) { buildSlice(); }));
}

QString SetupTree::labelFor(const std::string& text) {
    QString label =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(std::min<std::size_t>(text.size(), 4 * kMaxLabelLength)));
    for (QChar& c : label)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    if (label.size() > kMaxLabelLength || text.size() > 4 * kMaxLabelLength)
        label = label.left(kMaxLabelLength) + QChar(0x2026);
    return label;
}

NodeKind SetupTree::kindOf(const QTreeWidgetItem* item) {
    return item ? static_cast<NodeKind>(item->data(0, kKindRole).toInt()) : NodeKind::Root;
}

std::string SetupTree::fileOf(const QTreeWidgetItem* item) {
    return kindOf(item) == NodeKind::Setup ? bytes(item, kBytesRole) : std::string();
}

std::string SetupTree::nameOf(const QTreeWidgetItem* item) {
    return bytes(item, kNameRole);
}

LibraryRoot SetupTree::rootOf(const QTreeWidgetItem* item) {
    return item ? static_cast<LibraryRoot>(item->data(0, kRootRole).toInt()) : LibraryRoot::Standard;
}

void SetupTree::discardBuild() {
    timer_.stop();
    for (QTreeWidgetItem*& root : build_.roots) {
        delete root;
        root = nullptr;
    }
    build_ = Build{};
}

void SetupTree::showEntries(LibraryEntries entries) {
    discardBuild();
    build_.entries = std::move(entries);
    for (LibraryRoot root : {LibraryRoot::Standard, LibraryRoot::Tournament})
        build_.roots[static_cast<int>(root)] = newNode(NodeKind::Root, root, std::string(setups::rootLabel(root)));
    timer_.start();
}

void SetupTree::buildSlice() {
    const std::size_t end = std::min(build_.entries.size(), build_.next + kSliceSize);
    for (; build_.next < end; ++build_.next) {
        const setups::LibraryEntry& entry = build_.entries[build_.next];
        const int r = entry.root == LibraryRoot::Tournament ? 1 : 0;
        QTreeWidgetItem*& category = build_.categories[r][entry.category];
        if (!category) {
            category = newNode(NodeKind::Category, entry.root, entry.category);
            build_.roots[r]->addChild(category);
        }
        QTreeWidgetItem* node = newNode(NodeKind::Setup, entry.root, entry.name);
        node->setData(0, kBytesRole, QByteArray::fromStdString(entry.path));
        node->setToolTip(0, QString::fromUtf8(entry.path.data(), static_cast<qsizetype>(entry.path.size())));
        category->addChild(node);
        build_.setupsByFile.emplace(entry.path, node);
    }
    if (build_.next >= build_.entries.size())
        finishBuild();
}

void SetupTree::finishBuild() {
    timer_.stop();
    setUpdatesEnabled(false);
    clear();
    setupsByFile_ = std::move(build_.setupsByFile);
    setupCount_ = static_cast<int>(build_.entries.size());
    addTopLevelItems({build_.roots[0], build_.roots[1]});
    const bool openCategories = build_.entries.size() <= kExpandAllLimit;
    for (QTreeWidgetItem* root : build_.roots) {
        root->setExpanded(true);
        for (int i = 0; i < root->childCount(); ++i)
            root->child(i)->setExpanded(openCategories);
    }
    build_.roots[0] = build_.roots[1] = nullptr; // the tree owns them now
    build_ = Build{};
    applyFilter();
    setUpdatesEnabled(true);
    emit built();
}

void SetupTree::setViewFilter(ViewFilter filter) {
    const bool changed = filter_ != filter;
    filter_ = filter;
    applyFilter();
    if (changed)
        emit viewFilterChanged(filter);
}

void SetupTree::applyFilter() {
    QTreeWidgetItem* standard = rootItem(LibraryRoot::Standard);
    QTreeWidgetItem* tournament = rootItem(LibraryRoot::Tournament);
    if (!standard || !tournament)
        return;
    standard->setHidden(filter_ == ViewFilter::Tournament);
    tournament->setHidden(filter_ == ViewFilter::Standard);
    // A node that vanished from view must not stay the target of the commands.
    QTreeWidgetItem* current = currentItem();
    for (QTreeWidgetItem* up = current; up; up = up->parent())
        if (up->isHidden()) {
            selectNode(standard->isHidden() ? tournament : standard);
            break;
        }
}

QTreeWidgetItem* SetupTree::rootItem(LibraryRoot root) const {
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (rootOf(topLevelItem(i)) == root)
            return topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* SetupTree::categoryItem(LibraryRoot root, const std::string& label) const {
    QTreeWidgetItem* parent = rootItem(root);
    for (int i = 0; parent && i < parent->childCount(); ++i)
        if (nameOf(parent->child(i)) == label)
            return parent->child(i);
    return nullptr;
}

QTreeWidgetItem* SetupTree::setupItem(const std::string& file) const {
    auto found = setupsByFile_.find(file);
    return found == setupsByFile_.end() ? nullptr : found->second;
}

QTreeWidgetItem* SetupTree::childNamed(const QTreeWidgetItem* category, const std::string& name) {
    for (int i = 0; category && i < category->childCount(); ++i)
        if (equalsNoCase(nameOf(category->child(i)), name))
            return category->child(i);
    return nullptr;
}

void SetupTree::selectNode(QTreeWidgetItem* item) {
    if (!item)
        return;
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        up->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);
}

bool SetupTree::selectSetupFile(const std::string& file) {
    QTreeWidgetItem* item = setupItem(file);
    if (!item)
        return false;
    if (item->parent() && item->parent()->parent() && item->parent()->parent()->isHidden())
        setViewFilter(ViewFilter::All); // the setup just made or added must be seen
    selectNode(item);
    return true;
}

void SetupTree::selectCategoryOrRoot(LibraryRoot root, const std::string& label) {
    QTreeWidgetItem* item = categoryItem(root, label);
    selectNode(item ? item : rootItem(root));
}

} // namespace kv::manager::ui
