#pragma once

#include <QString>

#include <utility>
#include <vector>

class QComboBox;

namespace kv::manager::ui {

// The entries of a drop-down list and the value each stands for.
using ListEntries = std::vector<std::pair<QString, int>>;

ListEntries numberEntries(int first, int last);
// "m:ss" entries from `first` to `last` seconds in steps of `step`.
ListEntries timeEntries(int first, int last, int step);
QString minutesAndSeconds(int seconds);
ListEntries operator+(ListEntries a, const ListEntries& b);

void fillList(QComboBox& list, const ListEntries& entries);
// Selects the entry of `value`, or the entry nearest to it, so that a start value from elsewhere (a league file,
// the preferences) always lands on an entry of the list.
void selectValue(QComboBox& list, int value);
int chosenValue(const QComboBox& list);

} // namespace kv::manager::ui
