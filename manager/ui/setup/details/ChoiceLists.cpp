#include "manager/ui/setup/details/ChoiceLists.h"

#include <QComboBox>

namespace kv::manager::ui::choices {

void addNumbers(QComboBox* box, int from, int to, int step) {
    for (int v = from; v <= to; v += step)
        box->addItem(QString::number(v), v);
}

void addTimes(QComboBox* box, int fromSeconds, int toSeconds, int stepSeconds) {
    for (int v = fromSeconds; v <= toSeconds; v += stepSeconds)
        box->addItem(minutesSeconds(v), v);
}

void addWord(QComboBox* box, const QString& word, int value) {
    box->addItem(word, value);
}

QString minutesSeconds(int seconds) {
    const QString sign = seconds < 0 ? QStringLiteral("-") : QString();
    const int s = seconds < 0 ? -seconds : seconds;
    return sign + QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString number(int value) {
    return QString::number(value);
}

QString timeOrWord(int seconds, const QString& zeroWord) {
    return seconds == 0 ? zeroWord : minutesSeconds(seconds);
}

} // namespace kv::manager::ui::choices
