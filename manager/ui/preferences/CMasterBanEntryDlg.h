#pragma once

#include "manager/core/BanList.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

// "Add New Player Ban" for the master ban list: the ban type chosen by "By Player Name:", "By Player IP:" or
// "By Player MAC:" with a field each, "Ban Permanently", and the ending date otherwise. The player name field stays
// open whatever the choice, since every entry keeps a player name for reference. Unlike the remote dialog's
// designed add dialog, "Add" refuses an empty value and what a ban list file cannot hold.
class CMasterBanEntryDlg : public QDialog {
    Q_OBJECT
public:
    // `now` (seconds since 1970 UTC) is where the date field starts; `help` opens the help topic.
    CMasterBanEntryDlg(std::int64_t now, gui::Prompter& prompter, std::function<void()> help,
                       QWidget* parent = nullptr);

    // The entry as the fields give it.
    core::BanEntry entry() const;

    // "Add": accepts when the fields make an entry, else says what is wrong and stays open. False when refused.
    bool add();

    // The latest ending date the field offers: 2038-01-19 03:14:07 UTC, the end of signed 32-bit time.
    static QDateTime latestEndDate();

    QRadioButton* choice(const char* objectName) const;
    QLineEdit* field(const char* objectName) const;
    QCheckBox* permanent() const { return permanent_; }
    QDateTimeEdit* endDate() const { return endDate_; }
    QPushButton* button(const char* objectName) const;

protected:
    // Whether the player name field stays open whatever the choice (the master list), or, as the remote ban list
    // dialog is designed, only the field of the chosen type is open.
    enum class NameField { AlwaysOpen, OnlyWhenChosen };
    CMasterBanEntryDlg(std::int64_t now, gui::Prompter& prompter, std::function<void()> help, NameField nameField,
                       QWidget* parent);

private:
    void updateFields();
    QLineEdit* chosenField() const;

    gui::Prompter& prompter_;
    NameField nameField_ = NameField::AlwaysOpen;
    QCheckBox* permanent_ = nullptr;
    QDateTimeEdit* endDate_ = nullptr;
};

} // namespace kv::manager::ui
