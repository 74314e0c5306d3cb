#pragma once

#include <QVariant>

#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace kv::manager::ui {

// Ties a page's controls to fields of the setup. load() fills the controls; store() writes back only what the
// administrator changed, so a value that no control can show (a hand-edited file may hold one) survives a page that
// was merely looked at.
class FieldBindings {
public:
    void flag(QAbstractButton* box, int& field);
    void text(QLineEdit* edit, std::string& field);
    // Several lines; line breaks become CR LF, as the setup file keeps them.
    void lines(QPlainTextEdit* edit, std::string& field);
    // A number typed into a field; text that is no number leaves the field as it was.
    void number(QLineEdit* edit, int& field);
    // Drop-down lists whose items carry the stored value as their data. A value that no item carries gets an item
    // of its own, labelled by `label`, so that it is shown and kept.
    void choice(QComboBox* box, int& field, std::function<QString(int)> label);
    void choice(QComboBox* box, float& field, std::function<QString(float)> label);
    void choice(QComboBox* box, std::string& field);
    // Anything else: `state` tells whether the administrator changed the control since load.
    void custom(std::function<void()> load, std::function<void()> store, std::function<QVariant()> state);

    void load();
    void store();

    // Selects the item whose data is `value`, adding one labelled `label` when there is none.
    static void select(QComboBox* box, const QVariant& value, const QString& label);

private:
    struct Binding {
        std::function<void()> load;
        std::function<void()> store;
        std::function<QVariant()> state;
        QVariant loaded;
    };
    std::vector<Binding> bindings_;
};

// Bytes of a setup field as text for a control, and back.
QString fieldText(const std::string& bytes);
std::string fieldBytes(const QString& text);

} // namespace kv::manager::ui
