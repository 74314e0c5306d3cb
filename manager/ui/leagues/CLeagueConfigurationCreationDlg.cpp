#include "manager/ui/leagues/CLeagueConfigurationCreationDlg.h"

#include "manager/core/LeagueLibrary.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/SetupDescription.h"
#include "manager/setups/SetupStore.h"

#include "common/Text.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QLabel* wrappedLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

CLeagueConfigurationCreationDlg::CLeagueConfigurationCreationDlg(const core::ManagerContext& context,
                                                                 gui::Prompter& prompter, const setups::MapTable& maps,
                                                                 std::string setupFile, QWidget* parent)
    : QDialog(parent), context_(context), prompter_(prompter), setupFile_(std::move(setupFile)) {
    setObjectName(QStringLiteral("customLeague"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setups::ServerSetup setup;
    setupRead_ = setups::SetupStore(context_.workingFolder).load(setupFile_, setup);

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("leagueName"));
    auto* nameLabel = new QLabel(QStringLiteral("League Configuration Name:"), this);
    nameLabel->setBuddy(name_);
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("description"));
    description_->setMinimumSize(520, 300);
    auto* descriptionLabel = new QLabel(QStringLiteral("Description"), this);
    descriptionLabel->setBuddy(description_);
    if (setupRead_) {
        const std::string suggested = core::LeagueLibrary::suggestedName(setup);
        name_->setText(qs(suggested));
        description_->setPlainText(qs(replaceAll(setups::describeSetup(setup, maps, false), "\r\n", "\n")));
    }

    save_ = new QPushButton(QStringLiteral("Save"), this);
    discard_ = new QPushButton(QStringLiteral("Discard"), this);
    save_->setObjectName(QStringLiteral("save"));
    discard_->setObjectName(QStringLiteral("discard"));
    save_->setDefault(true);
    save_->setEnabled(setupRead_);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(name_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(discard_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(kFillInText, this));
    layout->addWidget(wrappedLabel(kCustomText, this));
    layout->addSpacing(4);
    layout->addLayout(nameRow);
    layout->addWidget(descriptionLabel);
    layout->addWidget(description_, 1);
    layout->addLayout(buttons);
    resize(640, 560);

    connect(save_, &QPushButton::clicked, this, gui::guarded([this](bool) { save(); }));
    connect(discard_, &QPushButton::clicked, this, gui::guarded([this](bool) { reject(); }));
}

void CLeagueConfigurationCreationDlg::run(const core::ManagerContext& context, gui::Prompter& prompter,
                                          const setups::MapTable& maps, const std::string& setupFile, QWidget* parent) {
    CLeagueConfigurationCreationDlg dialog(context, prompter, maps, setupFile, parent);
    if (!dialog.setupRead()) {
        prompter.showError(parent,
                           QStringLiteral("The server setup file %1 could not be read.")
                               .arg(QFile::decodeName(QByteArray::fromStdString(setupFile))),
                           QString::fromUtf8(kTitle));
        return;
    }
    prompter.runDialog(dialog);
}

void CLeagueConfigurationCreationDlg::refuseName(const QString& text) {
    prompter_.showError(this, text, QString::fromUtf8(kNameCaption));
    name_->setFocus();
    name_->selectAll();
}

void CLeagueConfigurationCreationDlg::save() {
    const std::string entered = name_->text().toStdString();
    if (trim(entered).empty()) {
        refuseName(QStringLiteral("You must enter a name for this league configuration."));
        return;
    }
    const core::LeagueLibrary leagues(context_.workingFolder);
    const std::string title = core::LeagueLibrary::customTitle(entered);
    if (title.empty()) {
        refuseName(QStringLiteral("You may not include slashes (\"/\") or control characters in a league "
                                  "configuration name.  Please change the name."));
        return;
    }
    setups::ServerSetup setup;
    if (!setups::SetupStore(context_.workingFolder).load(setupFile_, setup)) {
        prompter_.showError(this,
                            QStringLiteral("The server setup file %1 could not be read.")
                                .arg(QFile::decodeName(QByteArray::fromStdString(setupFile_))),
                            QString::fromUtf8(kTitle));
        return;
    }
    if (!leagues.existing(title).empty() &&
        !prompter_.askYesNo(this, QString::fromUtf8(kOverwriteText), QString::fromUtf8(kOverwriteCaption))) {
        name_->setFocus();
        return;
    }
    const core::LeagueLibrary::Written written =
        leagues.writeCustom(setup, entered, description_->toPlainText().toStdString());
    if (!written.ok) {
        prompter_.showError(this, qs(written.message), QString::fromUtf8(kTitle));
        return;
    }
    savedTitle_ = written.title;
    accept();
}

} // namespace kv::manager::ui
