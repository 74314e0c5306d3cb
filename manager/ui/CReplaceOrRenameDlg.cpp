#include "manager/ui/CReplaceOrRenameDlg.h"

#include "gui/SlotGuard.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kv::manager::ui {

CReplaceOrRenameDlg::CReplaceOrRenameDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("replaceOrRename"));
    setWindowTitle(QString::fromUtf8(kTitle));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto* exists = new QLabel(QString::fromUtf8(kExistsText), this);
    exists->setObjectName(QStringLiteral("existsText"));
    exists->setWordWrap(true);
    QFont bold = exists->font();
    bold.setBold(true);
    exists->setFont(bold);
    auto* question = new QLabel(QString::fromUtf8(kQuestionText), this);
    question->setObjectName(QStringLiteral("questionText"));
    question->setWordWrap(true);

    replace_ = new QPushButton(QStringLiteral("Replace"), this);
    rename_ = new QPushButton(QStringLiteral("Rename"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    rename_->setDefault(true); // keeping both setups loses nothing
    replace_->setObjectName(QStringLiteral("replace"));
    rename_->setObjectName(QStringLiteral("rename"));
    cancel_->setObjectName(QStringLiteral("cancel"));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(10);
    texts->addWidget(exists);
    texts->addWidget(question);
    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(replace_);
    buttons->addWidget(rename_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setFixedWidth(480);

    connect(replace_, &QPushButton::clicked, this, gui::guarded([this](bool) {
                choice_ = setups::ImportChoice::Replace;
                accept();
            }));
    connect(rename_, &QPushButton::clicked, this, gui::guarded([this](bool) {
                choice_ = setups::ImportChoice::Rename;
                accept();
            }));
    connect(cancel_, &QPushButton::clicked, this, gui::guarded([this](bool) { reject(); }));
}

} // namespace kv::manager::ui
