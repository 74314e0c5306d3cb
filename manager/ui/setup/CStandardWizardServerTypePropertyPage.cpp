#include "manager/ui/setup/CStandardWizardServerTypePropertyPage.h"

#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/core/AddressLookup.h"
#include "manager/core/ManagerContext.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

constexpr const char* kUnknown = "Unknown";
constexpr const char* kUnableCaption = "Unable to Determine Internet IP";

} // namespace

CStandardWizardServerTypePropertyPage::CStandardWizardServerTypePropertyPage(WizardState& state, QWidget* parent)
    : CWizardPage(state, QStringLiteral("Select Server Network Type"),
                  state.kind == SetupKind::Standard ? QStringLiteral("StandardWizardServerTypeHelp")
                                                    : QStringLiteral("TournamentWizardServerTypeHelp"),
                  parent),
      lookup_(new core::AddressLookup(this)) {
    auto* layout = new QVBoxLayout(this);
    internet_ = new QRadioButton(QStringLiteral("Internet server"), this);
    internet_->setObjectName(QStringLiteral("internet"));
    layout->addWidget(internet_);
    auto* internetText = new QLabel(
        QStringLiteral("If you are planning on using this server setup on a server run from your Home PC enter the IP "
                       "Address of your Home Network's \"Internet IP Of Your Modem\" in the field below:"),
        this);
    internetText->setWordWrap(true);
    layout->addWidget(internetText);
    lan_ = new QRadioButton(QStringLiteral("Local Area Network (LAN) server"), this);
    lan_->setObjectName(QStringLiteral("lan"));
    layout->addWidget(lan_);
    auto* lanText = new QLabel(
        QStringLiteral("If you are planning on using this server setup on this PC on your Local Area Network (LAN) you "
                       "can automatically determine the IP Address using the \"Auto Determine IP\" button."),
        this);
    lanText->setWordWrap(true);
    layout->addWidget(lanText);
    auto* form = new QFormLayout;
    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("address"));
    address_->setMaxLength(15);
    form->addRow(QStringLiteral("IP Address:"), address_);
    layout->addLayout(form);
    detect_ = new QPushButton(QStringLiteral("Auto Determine IP"), this);
    detect_->setObjectName(QStringLiteral("autoDetermineIp"));
    layout->addWidget(detect_, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(detect_, &QPushButton::clicked, this, gui::guarded([this](bool) { autoDetermine(); }));
    connect(lookup_, &core::AddressLookup::finished, this,
            gui::guarded([this](const QString& address) { detected(address.toStdString()); }));
}

void CStandardWizardServerTypePropertyPage::fill() {
    (state_.setup.m_fLANOnly != 0 ? lan_ : internet_)->setChecked(true);
    address_->setText(QString::fromStdString(state_.setup.m_csMultiHomedServerIP));
}

void CStandardWizardServerTypePropertyPage::autoDetermine() {
    if (lookup_->running())
        return;
    local_ = core::localIpv4Address();
    if (lan_->isChecked()) {
        detected(local_);
        return;
    }
    detect_->setEnabled(false);
    lookup_->start(QString::fromStdString(state_.context.settings.addressReportUrl));
}

void CStandardWizardServerTypePropertyPage::detected(const std::string& address) {
    detect_->setEnabled(true);
    if (address.empty()) {
        address_->setText(QString::fromUtf8(kUnknown));
        const std::string local = local_.empty() ? std::string("(none found)") : local_;
        if (internet_->isChecked())
            state_.prompter.showError(
                this,
                QStringLiteral("The Internet address of this PC could not be determined.  Enter the address of your "
                               "modem or router yourself, or leave the field blank.\n\nIf this PC is behind a router, "
                               "forward ports 1716 and 1717 (UDP) to this PC's address on your local network, %1.")
                    .arg(QString::fromStdString(local)),
                QString::fromUtf8(kUnableCaption));
        else
            tell("This PC's address on the local network could not be determined.  Enter it yourself, or leave the "
                 "field blank to let the server use every address of this PC.",
                 kUnableCaption);
        emit detectionDone();
        return;
    }
    address_->setText(QString::fromStdString(address));
    if (core::isPrivateIpv4(address)) {
        if (ask("IMPORTANT - You appear to be running your server on a home network.  If you do not leave this field "
                "blank you will not be able to join your own server from any PC on your home network.\n\nGenerally, "
                "leaving this field blank is the best option when you are running your Korvane game server on a home "
                "network and you want to allow both remote and local users to play on it.\n\nWould you like to be "
                "able to access this server from your home network?",
                "Home Network Detected"))
            address_->clear();
        else
            inform("Remember, because you are using your IP Address of your Cable/DSL Internet Modem you will not be "
                   "able to connect to the game server from any PC on your home network.",
                   "Configuring Server For Remote Access Only");
    }
    emit detectionDone();
}

bool CStandardWizardServerTypePropertyPage::take() {
    std::string address = oneLine(address_->text().trimmed().toStdString());
    if (address == kUnknown)
        address.clear();
    if (!address.empty() && !core::parseAddressReply(address)) {
        tell("Please enter the IP address as four numbers separated by periods (for example 192.168.1.20), or leave "
             "the field blank.",
             "Invalid IP Address");
        return false;
    }
    state_.setup.m_fLANOnly = lan_->isChecked() ? 1 : 0;
    state_.setup.m_csMultiHomedServerIP = address;
    return true;
}

} // namespace kv::manager::ui
