#include "manager/ui/CSelectServerSetupDlg.h"

#include "manager/ui/SetupBrowser.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

QString shortened(const QString& text) {
    QString shown = text.left(CSelectServerSetupDlg::kMaxTitlePart);
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    return shown.size() < text.size() ? shown + QChar(0x2026) : shown;
}

} // namespace

CSelectServerSetupDlg::CSelectServerSetupDlg(const core::ManagerContext& context, gui::Prompter& prompter,
                                             const QString& serverName, const QString& serverAddress, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("selectServerSetup"));
    setWindowTitle(QStringLiteral("Select Server Setup To Add To Remote Server %1 (%2)")
                       .arg(shortened(serverName), shortened(serverAddress)));
    browser_ = new SetupBrowser(context, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_, 1);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, gui::guarded([this] { accept(); }));
    connect(buttons, &QDialogButtonBox::rejected, this, gui::guarded([this] { reject(); }));
    connect(browser_->tree(), &QTreeWidget::itemActivated, this, gui::guarded([this](QTreeWidgetItem* item, int) {
                if (SetupTree::kindOf(item) == NodeKind::Setup)
                    accept();
            }));
    resize(760, 480);
    browser_->reload();
}

void CSelectServerSetupDlg::accept() {
    if (!browser_->setupSelected()) {
        prompter_.showError(this, QStringLiteral("You must select a setup to add to the server."),
                            QStringLiteral("No Server Setup Selected"));
        return;
    }
    chosenName_ = browser_->selectedName();
    chosenFile_ = browser_->selectedFile();
    QDialog::accept();
}

} // namespace kv::manager::ui
