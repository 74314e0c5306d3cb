#pragma once

#include <QString>

class QComboBox;

namespace kv::manager::ui::choices {

// Fillers for the pages' drop-down lists; each item carries its stored value as data. Nothing is sorted.

// from, from + step, ... up to `to`, shown as decimal numbers.
void addNumbers(QComboBox* box, int from, int to, int step = 1);
// The same as seconds shown "m:ss".
void addTimes(QComboBox* box, int fromSeconds, int toSeconds, int stepSeconds);
// One item standing for `value`.
void addWord(QComboBox* box, const QString& word, int value);

// "%d:%2.2d" of minutes and seconds.
QString minutesSeconds(int seconds);
QString number(int value);
// "m:ss", or `zeroWord` for 0.
QString timeOrWord(int seconds, const QString& zeroWord);

} // namespace kv::manager::ui::choices
