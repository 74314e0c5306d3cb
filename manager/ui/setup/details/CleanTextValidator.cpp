#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QLineEdit>

namespace kv::manager::ui {

CleanTextValidator::CleanTextValidator(QString refused, QObject* parent)
    : QValidator(parent), refused_(std::move(refused)) {}

QString CleanTextValidator::cleaned(const QString& text, const QString& refused) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.category() != QChar::Other_Control && c != QChar::LineSeparator && c != QChar::ParagraphSeparator &&
            !refused.contains(c))
            out += c;
    return out;
}

QValidator::State CleanTextValidator::validate(QString& input, int& pos) const {
    const QString clean = cleaned(input, refused_);
    if (clean.size() != input.size()) {
        pos = std::max<int>(0, pos - static_cast<int>(input.size() - clean.size()));
        input = clean;
    }
    return Acceptable;
}

void CleanTextValidator::attach(QLineEdit* edit, const QString& refused) {
    edit->setValidator(new CleanTextValidator(refused, edit));
    edit->setMaxLength(1024);
}

} // namespace kv::manager::ui
