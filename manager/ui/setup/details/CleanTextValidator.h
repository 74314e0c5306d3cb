#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

namespace kv::manager::ui {

// Cleans what is typed or pasted into a one-line field of a setup: control characters (a line break would end the
// key=value line and start a forged one) and the characters in `refused` are dropped as they come in.
class CleanTextValidator : public QValidator {
    Q_OBJECT
public:
    explicit CleanTextValidator(QString refused = {}, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

    // The text without control characters and refused characters.
    static QString cleaned(const QString& text, const QString& refused = {});
    // Gives the field a validator of this kind and a length that a setup line holds with ease.
    static void attach(QLineEdit* edit, const QString& refused = {});

private:
    QString refused_;
};

} // namespace kv::manager::ui
