#include "manager/ui/remote/AntiCheatWidgets.h"

#include <QLabel>

namespace kv::manager::ui {

QLabel* makeAntiCheatStatusLine(QWidget* parent) {
    auto* status = new QLabel(parent);
    status->setObjectName(QStringLiteral("status"));
    status->setFrameShape(QFrame::StyledPanel);
    status->setFrameShadow(QFrame::Sunken);
    status->setTextFormat(Qt::PlainText); // library texts carry host names: never rich text
    status->setMinimumHeight(status->fontMetrics().height() + 6);
    return status;
}

} // namespace kv::manager::ui
