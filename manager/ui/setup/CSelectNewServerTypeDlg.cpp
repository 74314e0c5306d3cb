#include "manager/ui/setup/CSelectNewServerTypeDlg.h"

#include "gui/SlotGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

CSelectNewServerTypeDlg::CSelectNewServerTypeDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("New Server Setup"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Would you like to create a tournament or standard game play server setup?"), this));
    auto* row = new QHBoxLayout;
    auto add = [&](const char* text, const char* name) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromUtf8(name));
        row->addWidget(b);
        return b;
    };
    connect(add("Create Tournament Setup", "tournament"), &QPushButton::clicked, this,
            gui::guarded([this](bool) { choose(SetupKind::Tournament); }));
    QPushButton* standard = add("Create Standard Play Setup", "standard");
    standard->setDefault(true);
    connect(standard, &QPushButton::clicked, this, gui::guarded([this](bool) { choose(SetupKind::Standard); }));
    connect(add("Cancel", "cancel"), &QPushButton::clicked, this, gui::guarded([this](bool) { reject(); }));
    layout->addLayout(row);
}

void CSelectNewServerTypeDlg::choose(SetupKind kind) {
    choice_ = kind;
    accept();
}

} // namespace kv::manager::ui
