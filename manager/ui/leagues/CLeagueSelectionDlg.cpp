#include "manager/ui/leagues/CLeagueSelectionDlg.h"

#include "manager/ui/leagues/LeaguePageView.h"

#include "manager/core/LeagueLibrary.h"
#include "manager/core/ManagerContext.h"

#include "gui/SlotGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

// The title's own bytes, whatever they look like as text, so that the chosen path is the file's.
constexpr int kTitleRole = Qt::UserRole;

QLabel* wrappedLabel(const char* text, const char* name, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setWordWrap(true);
    return label;
}

} // namespace

CLeagueSelectionDlg::CLeagueSelectionDlg(const core::ManagerContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("leagueSelection"));
    setWindowTitle(QString::fromUtf8(kTitle));
    const core::LeagueLibrary leagues(context_.workingFolder);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("leagues"));
    list_->setFont(QFont(QStringLiteral("Verdana"), 8));
    for (const std::string& title : leagues.names()) {
        auto* item = new QListWidgetItem(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())), list_);
        item->setData(kTitleRole, QByteArray::fromStdString(title));
    }
    list_->setMinimumWidth(240);
    page_ = new LeaguePageView(leagues.folder(), this);
    page_->setMinimumSize(420, 300);
    page_->showPage(leagues.instructionsFile());

    select_ = new QPushButton(QStringLiteral("Select League"), this);
    other_ = new QPushButton(QStringLiteral("Other/Non League"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    help_ = new QPushButton(QStringLiteral("Help"), this);
    select_->setObjectName(QStringLiteral("selectLeague"));
    other_->setObjectName(QStringLiteral("otherLeague"));
    cancel_->setObjectName(QStringLiteral("cancel"));
    help_->setObjectName(QStringLiteral("help"));
    select_->setDefault(true);

    auto* lists = new QHBoxLayout;
    lists->addWidget(list_, 2);
    lists->addWidget(page_, 5);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help_);
    buttons->addStretch();
    buttons->addWidget(select_);
    buttons->addWidget(other_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(kExplanation, "explanation", this));
    layout->addLayout(lists, 1);
    QLabel* note = wrappedLabel(kNote, "note", this);
    QFont small = note->font();
    small.setItalic(true);
    note->setFont(small);
    layout->addWidget(note);
    layout->addLayout(buttons);
    resize(780, 540);

    connect(list_, &QListWidget::currentRowChanged, this, gui::guarded([this](int) { showSelectedPage(); }));
    connect(list_, &QListWidget::itemActivated, this, gui::guarded([this](QListWidgetItem*) { selectLeague(); }));
    connect(select_, &QPushButton::clicked, this, gui::guarded([this](bool) { selectLeague(); }));
    connect(other_, &QPushButton::clicked, this, gui::guarded([this](bool) {
                chosen_.clear();
                accept();
            }));
    connect(cancel_, &QPushButton::clicked, this, gui::guarded([this](bool) { reject(); }));
    connect(help_, &QPushButton::clicked, this, gui::guarded([this](bool) { emit helpRequested(); }));
}

std::string CLeagueSelectionDlg::chosenLeagueFile() const {
    return chosen_;
}

void CLeagueSelectionDlg::showSelectedPage() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    page_->showPage(
        core::LeagueLibrary(context_.workingFolder).pageFile(item->data(kTitleRole).toByteArray().toStdString()));
}

void CLeagueSelectionDlg::selectLeague() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    chosen_ =
        core::LeagueLibrary(context_.workingFolder).leagueFile(item->data(kTitleRole).toByteArray().toStdString());
    if (!chosen_.empty())
        accept();
}

} // namespace kv::manager::ui
