#include "manager/ui/preferences/BanListView.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace kv::manager::ui::ban_view {

namespace {

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QTreeWidgetItem* rowOf(const core::BanEntry& entry) {
    return new QTreeWidgetItem(QStringList{text(entry.type), text(entry.value),
                                           text(core::banLengthText(entry.endTime)), text(entry.playerName)});
}

} // namespace

void setUp(QTreeWidget& view) {
    view.setObjectName(QStringLiteral("banList"));
    view.setColumnCount(4);
    view.setHeaderLabels({QStringLiteral("Ban Type"), QStringLiteral("Ban Value"), QStringLiteral("Ban Length"),
                          QStringLiteral("Player Name")});
    view.header()->setStretchLastSection(false);
    for (int column = 0; column < 4; ++column)
        view.setColumnWidth(column, kColumnWidths[column]);
    view.setRootIsDecorated(false);
    view.setItemsExpandable(false);
    view.setUniformRowHeights(true);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setAllColumnsShowFocus(true);
}

void show(QTreeWidget& view, const core::BanList& list) {
    view.clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(list.size()));
    for (const core::BanEntry& entry : list)
        rows.append(rowOf(entry));
    view.addTopLevelItems(rows);
}

void insertAtTop(QTreeWidget& view, core::BanList& list, const core::BanEntry& entry) {
    list.insert(list.begin(), entry);
    view.insertTopLevelItem(0, rowOf(entry));
}

bool removeSelected(QTreeWidget& view, core::BanList& list) {
    const QList<QTreeWidgetItem*> selected = view.selectedItems();
    if (selected.isEmpty())
        return false;
    const int row = view.indexOfTopLevelItem(selected.front());
    if (row < 0 || static_cast<std::size_t>(row) >= list.size())
        return false;
    list.erase(list.begin() + row);
    delete view.takeTopLevelItem(row);
    view.clearSelection();
    view.setCurrentItem(nullptr);
    return true;
}

} // namespace kv::manager::ui::ban_view
