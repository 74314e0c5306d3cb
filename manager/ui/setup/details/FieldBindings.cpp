#include "manager/ui/setup/details/FieldBindings.h"

#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace kv::manager::ui {

QString fieldText(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string fieldBytes(const QString& text) {
    return text.toUtf8().toStdString();
}

void FieldBindings::custom(std::function<void()> load, std::function<void()> store, std::function<QVariant()> state) {
    bindings_.push_back(Binding{std::move(load), std::move(store), std::move(state), {}});
}

void FieldBindings::flag(QAbstractButton* box, int& field) {
    custom([box, &field] { box->setChecked(field != 0); }, [box, &field] { field = box->isChecked() ? 1 : 0; },
           [box] { return QVariant(box->isChecked()); });
}

void FieldBindings::text(QLineEdit* edit, std::string& field) {
    custom([edit, &field] { edit->setText(fieldText(field)); },
           [edit, &field] { field = fieldBytes(CleanTextValidator::cleaned(edit->text())); },
           [edit] { return QVariant(edit->text()); });
}

void FieldBindings::lines(QPlainTextEdit* edit, std::string& field) {
    custom(
        [edit, &field] {
            QString text = fieldText(field);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            edit->setPlainText(text);
        },
        [edit, &field] {
            QString text;
            for (QChar c : edit->toPlainText())
                if (c == u'\n')
                    text += QStringLiteral("\r\n");
                else if (c == u'\t' || !(c.category() == QChar::Other_Control))
                    text += c;
            field = fieldBytes(text);
        },
        [edit] { return QVariant(edit->toPlainText()); });
}

void FieldBindings::number(QLineEdit* edit, int& field) {
    custom([edit, &field] { edit->setText(QString::number(field)); },
           [edit, &field] {
               bool ok = false;
               const int value = edit->text().trimmed().toInt(&ok);
               if (ok)
                   field = value;
           },
           [edit] { return QVariant(edit->text()); });
}

void FieldBindings::select(QComboBox* box, const QVariant& value, const QString& label) {
    int index = box->findData(value);
    if (index < 0) {
        box->addItem(label, value);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

void FieldBindings::choice(QComboBox* box, int& field, std::function<QString(int)> label) {
    custom([box, &field, label] { select(box, QVariant(field), label(field)); },
           [box, &field] { field = box->currentData().toInt(); }, [box] { return QVariant(box->currentIndex()); });
}

void FieldBindings::choice(QComboBox* box, float& field, std::function<QString(float)> label) {
    custom([box, &field, label] { select(box, QVariant(static_cast<double>(field)), label(field)); },
           [box, &field] { field = static_cast<float>(box->currentData().toDouble()); },
           [box] { return QVariant(box->currentIndex()); });
}

void FieldBindings::choice(QComboBox* box, std::string& field) {
    custom([box, &field] { select(box, QVariant(QByteArray::fromStdString(field)), fieldText(field)); },
           [box, &field] { field = box->currentData().toByteArray().toStdString(); },
           [box] { return QVariant(box->currentIndex()); });
}

void FieldBindings::load() {
    for (Binding& b : bindings_) {
        b.load();
        b.loaded = b.state();
    }
}

void FieldBindings::store() {
    for (Binding& b : bindings_)
        if (b.state() != b.loaded)
            b.store();
}

} // namespace kv::manager::ui
