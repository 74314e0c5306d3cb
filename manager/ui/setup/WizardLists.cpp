#include "manager/ui/setup/WizardLists.h"

#include <QComboBox>

#include <cstdlib>

namespace kv::manager::ui {

ListEntries numberEntries(int first, int last) {
    ListEntries out;
    for (int i = first; i <= last; ++i)
        out.emplace_back(QString::number(i), i);
    return out;
}

ListEntries timeEntries(int first, int last, int step) {
    ListEntries out;
    for (int s = first; s <= last; s += step)
        out.emplace_back(minutesAndSeconds(s), s);
    return out;
}

QString minutesAndSeconds(int seconds) {
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

ListEntries operator+(ListEntries a, const ListEntries& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void fillList(QComboBox& list, const ListEntries& entries) {
    list.clear();
    for (const auto& [text, value] : entries)
        list.addItem(text, value);
}

void selectValue(QComboBox& list, int value) {
    int best = -1;
    long long bestDistance = 0;
    for (int i = 0; i < list.count(); ++i) {
        const long long distance = std::llabs(static_cast<long long>(list.itemData(i).toInt()) - value);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    list.setCurrentIndex(best);
}

int chosenValue(const QComboBox& list) {
    return list.currentData().toInt();
}

} // namespace kv::manager::ui
