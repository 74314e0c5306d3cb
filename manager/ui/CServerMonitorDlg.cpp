#include "manager/ui/CServerMonitorDlg.h"

#include "gui/SlotGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

CServerMonitorDlg::CServerMonitorDlg(const std::vector<std::string>& names, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Active Server Monitors"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("The following server monitors are currently running.  To view the server "
                                           "monitor select it's name in the list and then click on the \"View "
                                           "Selected Monitor\" button."),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("monitorList"));
    for (const std::string& name : names)
        list_->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    layout->addWidget(list_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    view_ = new QPushButton(QStringLiteral("View Selected Monitor"), this);
    view_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    row->addWidget(view_);
    row->addWidget(cancel_);
    layout->addLayout(row);
    connect(view_, &QPushButton::clicked, this, gui::guarded([this](bool) { viewSelected(); }));
    connect(cancel_, &QPushButton::clicked, this, gui::guarded([this](bool) { reject(); }));
    connect(list_, &QListWidget::itemDoubleClicked, this, gui::guarded([this](QListWidgetItem*) { viewSelected(); }));
    resize(380, 260);
}

void CServerMonitorDlg::viewSelected() {
    const QList<QListWidgetItem*> chosen = list_->selectedItems();
    if (chosen.isEmpty())
        return;
    selected_ = chosen.front()->text().toStdString();
    accept();
}

} // namespace kv::manager::ui
