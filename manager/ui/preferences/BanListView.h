#pragma once

#include "manager/core/BanList.h"

class QTreeWidget;

namespace kv::manager::ui::ban_view {

// The designed column widths of every ban list view.
inline constexpr int kColumnWidths[] = {70, 120, 100, 120};

// Columns "Ban Type", "Ban Value", "Ban Length", "Player Name" at the designed widths; whole rows, one at a time.
void setUp(QTreeWidget& view);
// Shows `list` top to bottom, replacing what the view held.
void show(QTreeWidget& view, const core::BanList& list);
// Puts `entry` at the top of both the list and the view.
void insertAtTop(QTreeWidget& view, core::BanList& list, const core::BanEntry& entry);
// Takes the selected row out of the view and of `list`; false when no row is selected.
bool removeSelected(QTreeWidget& view, core::BanList& list);

} // namespace kv::manager::ui::ban_view
