#include "manager/ui/preferences/CMasterBanEntryDlg.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kv::manager::ui {

namespace {

struct Choice {
    const char* radio;
    const char* text;
    const char* field;
    std::string_view type;
    const char* what; // in messages
};

const Choice kChoices[] = {
    {"byName", "By Player Name:", "playerName", core::kBanTypeName, "player name"},
    {"byIp", "By Player IP:", "playerIp", core::kBanTypeIp, "player IP address"},
    {"byMac", "By Player MAC:", "playerMac", core::kBanTypeMac, "player MAC address"},
};

// The earliest ending date: a day after the start of 1970, so that no chosen date means "permanent" (0).
constexpr std::int64_t kEarliestEnd = 86400;

} // namespace

QDateTime CMasterBanEntryDlg::latestEndDate() {
    return QDateTime::fromSecsSinceEpoch(INT32_MAX);
}

CMasterBanEntryDlg::CMasterBanEntryDlg(std::int64_t now, gui::Prompter& prompter, std::function<void()> help,
                                       QWidget* parent)
    : CMasterBanEntryDlg(now, prompter, std::move(help), NameField::AlwaysOpen, parent) {}

CMasterBanEntryDlg::CMasterBanEntryDlg(std::int64_t now, gui::Prompter& prompter, std::function<void()> help,
                                       NameField nameField, QWidget* parent)
    : QDialog(parent), prompter_(prompter), nameField_(nameField) {
    setWindowTitle(QStringLiteral("Add New Player Ban"));
    auto* grid = new QGridLayout(this);
    auto* group = new QButtonGroup(this);
    int row = 0;
    for (const Choice& c : kChoices) {
        auto* radio = new QRadioButton(QString::fromUtf8(c.text), this);
        radio->setObjectName(QString::fromUtf8(c.radio));
        group->addButton(radio);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromUtf8(c.field));
        edit->setMaxLength(static_cast<int>(core::kBanFieldLimit));
        edit->setMinimumWidth(220);
        grid->addWidget(radio, row, 0);
        grid->addWidget(edit, row++, 1);
        connect(radio, &QRadioButton::toggled, this, gui::guarded([this](bool) { updateFields(); }));
    }
    if (nameField_ == NameField::AlwaysOpen) {
        auto* note = new QLabel(QStringLiteral("The player name is kept with every ban for reference."), this);
        note->setEnabled(false);
        grid->addWidget(note, row++, 1);
    }

    permanent_ = new QCheckBox(QStringLiteral("Ban Permanently"), this);
    permanent_->setObjectName(QStringLiteral("banPermanently"));
    grid->addWidget(permanent_, row++, 0, 1, 2);
    endDate_ = new QDateTimeEdit(this);
    endDate_->setObjectName(QStringLiteral("endDate"));
    endDate_->setCalendarPopup(true);
    endDate_->setDisplayFormat(QStringLiteral("M/d/yyyy H:mm"));
    endDate_->setDateTimeRange(QDateTime::fromSecsSinceEpoch(kEarliestEnd), latestEndDate());
    endDate_->setDateTime(QDateTime::fromSecsSinceEpoch(std::clamp<std::int64_t>(now, kEarliestEnd, INT32_MAX)));
    grid->addWidget(new QLabel(QStringLiteral("Ending Date If Not Permanent Ban:"), this), row, 0);
    grid->addWidget(endDate_, row++, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const struct {
        const char* name;
        const char* text;
    } pushes[] = {{"add", "Add"}, {"cancel", "Cancel"}, {"help", "Help"}};
    for (const auto& p : pushes) {
        auto* button = new QPushButton(QString::fromUtf8(p.text), this);
        button->setObjectName(QString::fromUtf8(p.name));
        buttons->addWidget(button);
    }
    button("add")->setDefault(true);
    button("cancel")->setAutoDefault(false);
    button("help")->setAutoDefault(false);
    grid->addLayout(buttons, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(permanent_, &QCheckBox::toggled, this, gui::guarded([this](bool) { updateFields(); }));
    connect(button("add"), &QPushButton::clicked, this, gui::guarded([this](bool) { add(); }));
    connect(button("cancel"), &QPushButton::clicked, this, &QDialog::reject);
    connect(button("help"), &QPushButton::clicked, this, gui::guarded([help = std::move(help)](bool) {
                if (help)
                    help();
            }));

    choice("byName")->setChecked(true);
    updateFields();
}

QRadioButton* CMasterBanEntryDlg::choice(const char* objectName) const {
    return findChild<QRadioButton*>(QString::fromUtf8(objectName));
}

QLineEdit* CMasterBanEntryDlg::field(const char* objectName) const {
    return findChild<QLineEdit*>(QString::fromUtf8(objectName));
}

QPushButton* CMasterBanEntryDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

QLineEdit* CMasterBanEntryDlg::chosenField() const {
    for (const Choice& c : kChoices)
        if (choice(c.radio)->isChecked())
            return field(c.field);
    return field("playerName");
}

void CMasterBanEntryDlg::updateFields() {
    field("playerName")->setEnabled(nameField_ == NameField::AlwaysOpen || choice("byName")->isChecked());
    field("playerIp")->setEnabled(choice("byIp")->isChecked());
    field("playerMac")->setEnabled(choice("byMac")->isChecked());
    endDate_->setEnabled(!permanent_->isChecked());
}

core::BanEntry CMasterBanEntryDlg::entry() const {
    core::BanEntry e;
    e.type = std::string(core::kBanTypeName);
    for (const Choice& c : kChoices)
        if (choice(c.radio)->isChecked())
            e.type = std::string(c.type);
    QString value = chosenField()->text();
    if (chosenField() != field("playerName"))
        value = value.trimmed(); // an address never holds blanks
    e.value = value.toStdString();
    e.playerName = field("playerName")->text().toStdString();
    const std::int64_t end = endDate_->dateTime().toSecsSinceEpoch();
    e.endTime = permanent_->isChecked() ? 0 : static_cast<std::int32_t>(std::clamp<std::int64_t>(end, 0, INT32_MAX));
    return e;
}

bool CMasterBanEntryDlg::add() {
    const QString caption = QStringLiteral("Ban Entry Not Added");
    const char* what = "player name";
    for (const Choice& c : kChoices)
        if (choice(c.radio)->isChecked())
            what = c.what;
    const core::BanEntry e = entry();
    auto refuse = [&](const QString& text, QLineEdit* focus) {
        prompter_.showError(this, text, caption);
        if (focus)
            focus->setFocus();
        return false;
    };
    if (e.value.empty())
        return refuse(QStringLiteral("Enter the %1 to ban.").arg(QString::fromUtf8(what)), chosenField());
    if (const std::string problem = core::banFieldProblem(e.value); !problem.empty())
        return refuse(
            QStringLiteral("The %1 cannot be used: %2.").arg(QString::fromUtf8(what), QString::fromStdString(problem)),
            chosenField());
    if (const std::string problem = core::banFieldProblem(e.playerName); !problem.empty())
        return refuse(QStringLiteral("The player name cannot be used: %1.").arg(QString::fromStdString(problem)),
                      field("playerName"));
    if (!permanent_->isChecked()) {
        const std::int64_t end = endDate_->dateTime().toSecsSinceEpoch();
        if (end < kEarliestEnd || end > INT32_MAX)
            return refuse(QStringLiteral("The ending date must lie between 1/2/1970 and %1.")
                              .arg(latestEndDate().toString(QStringLiteral("M/d/yyyy H:mm"))),
                          nullptr);
    }
    accept();
    return true;
}

} // namespace kv::manager::ui
