#include "manager/ui/remote/CPunkBusterOptionsDlg.h"

#include "gui/SlotGuard.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

CPunkBusterOptionsDlg::CPunkBusterOptionsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("antiCheatOptions"));
    setWindowTitle(QStringLiteral("PunkBuster (tm) Options"));
    auto* layout = new QVBoxLayout(this);
    const struct {
        const char* name;
        const char* label;
        Choice choice;
    } pushes[] = {{"screenshots", "View PB Screenshots", Choice::Screenshots},
                  {"logs", "View PB Log Files", Choice::Logs},
                  {"configuration", "PB Configuration", Choice::Configuration},
                  {"cancel", "Cancel", Choice::None}};
    for (const auto& p : pushes) {
        auto* b = new QPushButton(QString::fromUtf8(p.label), this);
        b->setObjectName(QString::fromUtf8(p.name));
        b->setAutoDefault(false);
        b->setMinimumWidth(200);
        layout->addWidget(b);
        connect(b, &QPushButton::clicked, this, gui::guarded([this, choice = p.choice](bool) {
                    choice_ = choice;
                    if (choice == Choice::None)
                        reject();
                    else
                        accept();
                }));
    }
    auto* mark = new QLabel(QStringLiteral("PunkBuster is a trademark of Even Balance, Inc."), this);
    mark->setObjectName(QStringLiteral("trademark"));
    QFont small(QStringLiteral("Arial"));
    small.setPointSize(8);
    mark->setFont(small);
    layout->addWidget(mark);
}

QPushButton* CPunkBusterOptionsDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

} // namespace kv::manager::ui
