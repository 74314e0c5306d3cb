#include "gui/DialogButtons.h"

#include "gui/SlotGuard.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace kv::gui {

QDialogButtonBox* okCancelHelpButtons(QDialog& dialog, std::function<void()> help) {
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    buttons->button(QDialogButtonBox::Help)->setObjectName(QStringLiteral("help"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, guarded([&dialog] { dialog.accept(); }));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog, guarded([help = std::move(help)] { help(); }));
    return buttons;
}

} // namespace kv::gui
