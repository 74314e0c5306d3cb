#include "manager/ui/preferences/CIpAddressField.h"

#include "common/DecimalNumber.h"
#include "common/Format.h"
#include "gui/SlotGuard.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace kv::manager::ui {

CIpAddressField::CIpAddressField(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto* validator = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])?$")), this);
    const int width = QFontMetrics(font()).horizontalAdvance(QStringLiteral("0000")) + 12;
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("octet%1").arg(i + 1));
        edit->setValidator(validator);
        edit->setMaxLength(3);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFixedWidth(width);
        edit->installEventFilter(this);
        octets_[static_cast<std::size_t>(i)] = edit;
        if (i > 0)
            row->addWidget(new QLabel(QStringLiteral("."), this));
        row->addWidget(edit);
        if (i < 3)
            connect(edit, &QLineEdit::textEdited, this, gui::guarded([this, i](const QString& text) {
                        if (text.size() == 3)
                            focusOctet(i + 1);
                    }));
    }
    row->addStretch();
    setFocusProxy(octets_[0]);
}

std::array<int, 4> CIpAddressField::octetsOf(std::string_view text) {
    std::array<int, 4> octets{0, 0, 0, 0};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4 && start <= text.size(); ++i) {
        std::size_t dot = text.find('.', start);
        if (dot == std::string_view::npos)
            dot = text.size();
        const int n = parseDecimalInt(text.substr(start, dot - start)) % 256;
        octets[i] = n < 0 ? n + 256 : n;
        start = dot + 1;
    }
    return octets;
}

void CIpAddressField::setAddressText(std::string_view text) {
    if (text.empty()) {
        for (QLineEdit* edit : octets_)
            edit->clear();
        return;
    }
    const std::array<int, 4> octets = octetsOf(text);
    for (std::size_t i = 0; i < 4; ++i)
        octets_[i]->setText(QString::number(octets[i]));
}

bool CIpAddressField::isBlank() const {
    for (QLineEdit* edit : octets_)
        if (!edit->text().isEmpty())
            return false;
    return true;
}

std::string CIpAddressField::addressText() const {
    if (isBlank())
        return {};
    int n[4];
    for (std::size_t i = 0; i < 4; ++i)
        n[i] = std::clamp(octets_[i]->text().toInt(), 0, 255); // an empty box is 0
    return format("%d.%d.%d.%d", n[0], n[1], n[2], n[3]);
}

void CIpAddressField::focusOctet(int index) {
    if (index < 0 || index > 3)
        return;
    QLineEdit* edit = octet(index);
    edit->setFocus();
    edit->selectAll();
}

bool CIpAddressField::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (int i = 0; i < 4; ++i) {
            if (watched != octet(i))
                continue;
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Period) {
                if (!octet(i)->text().isEmpty())
                    focusOctet(i + 1);
                return true;
            }
            if (key->key() == Qt::Key_Backspace && octet(i)->text().isEmpty() && i > 0) {
                focusOctet(i - 1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kv::manager::ui
