#include "manager/ui/CSplashWnd.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace kv::manager::ui {

CSplashWnd::CSplashWnd(QWidget* parent) : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("splash"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(2);
    auto* title = new QLabel(QStringLiteral("KV Server Manager"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    label_ = new QLabel(QString::fromUtf8(kText), this);
    label_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 28, 36, 28);
    layout->setSpacing(14);
    layout->addWidget(title);
    layout->addWidget(label_);
    setCursor(Qt::WaitCursor);
}

QString CSplashWnd::text() const {
    return label_->text();
}

void CSplashWnd::placeOver(const QWidget* window) {
    adjustSize();
    QRect area = window && window->isVisible() ? window->frameGeometry() : QRect();
    if (area.isEmpty() && QGuiApplication::primaryScreen())
        area = QGuiApplication::primaryScreen()->availableGeometry();
    if (!area.isEmpty())
        move(area.center() - rect().center());
}

} // namespace kv::manager::ui
