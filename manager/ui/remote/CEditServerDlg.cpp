#include "manager/ui/remote/CEditServerDlg.h"

#include "common/protocol/ProtocolWords.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"
#include "manager/ui/preferences/CIpAddressField.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

// Long enough for any name an administrator types, short enough that a line of the list stays well in its bound.
constexpr int kFieldLimit = 256;

// The address part and the port part of "a.b.c.d" or "a.b.c.d:port".
std::pair<std::string, std::string> splitPort(const std::string& address) {
    const std::size_t colon = address.rfind(':');
    if (colon == std::string::npos)
        return {address, {}};
    return {address.substr(0, colon), address.substr(colon + 1)};
}

} // namespace

CEditServerDlg::CEditServerDlg(gui::Prompter& prompter, std::function<void()> help, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Edit Remote Control Server Access"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto line = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromUtf8(name));
        edit->setMaxLength(kFieldLimit);
        edit->setMinimumWidth(220);
        return edit;
    };
    form->addRow(QStringLiteral("Server Name:"), line("serverName"));
    address_ = new CIpAddressField(this);
    address_->setObjectName(QStringLiteral("serverAddress"));
    form->addRow(QStringLiteral("Server IP Address:"), address_);
    // An agent may listen on another port than the usual one; blank keeps the usual one.
    port_ = new QLineEdit(this);
    port_->setObjectName(QStringLiteral("port"));
    port_->setMaxLength(5);
    port_->setValidator(new QIntValidator(1, 65535, port_));
    port_->setPlaceholderText(QStringLiteral("%1 (default)").arg(protocol::kDefaultPort));
    port_->setMaximumWidth(120);
    form->addRow(QStringLiteral("Remote Control Port:"), port_);
    form->addRow(QStringLiteral("Remote Control Admin Name:"), line("adminName"));
    form->addRow(QStringLiteral("Remote Control Password:"), line("password"));
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const struct {
        const char* name;
        const char* text;
    } pushes[] = {{"save", "Save"}, {"cancel", "Cancel"}, {"help", "Help"}};
    for (const auto& p : pushes) {
        auto* b = new QPushButton(QString::fromUtf8(p.text), this);
        b->setObjectName(QString::fromUtf8(p.name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    button("save")->setDefault(true);
    layout->addLayout(buttons);

    connect(button("save"), &QPushButton::clicked, this, gui::guarded([this](bool) { save(); }));
    connect(button("cancel"), &QPushButton::clicked, this, &QDialog::reject);
    connect(button("help"), &QPushButton::clicked, this, gui::guarded([help = std::move(help)](bool) {
                if (help)
                    help();
            }));
}

QLineEdit* CEditServerDlg::field(const char* objectName) const {
    return findChild<QLineEdit*>(QString::fromUtf8(objectName));
}

QPushButton* CEditServerDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

void CEditServerDlg::setEntry(const remote::RemoteServerEntry& entry) {
    field("serverName")->setText(QString::fromStdString(entry.serverName));
    const auto [address, port] = splitPort(entry.address);
    address_->setAddressText(address);
    port_->setText(QString::fromStdString(port == std::to_string(protocol::kDefaultPort) ? std::string() : port));
    field("adminName")->setText(QString::fromStdString(entry.adminName));
    field("password")->setText(QString::fromStdString(entry.password));
}

remote::RemoteServerEntry CEditServerDlg::entry() const {
    std::string address = address_->addressText();
    const std::string port = port_->text().trimmed().toStdString();
    if (!address.empty() && !port.empty() && port != std::to_string(protocol::kDefaultPort))
        address += ":" + port;
    return {field("serverName")->text().toStdString(), std::move(address), field("adminName")->text().toStdString(),
            field("password")->text().toStdString()};
}

bool CEditServerDlg::save() {
    bool portOk = true;
    const int port = port_->text().trimmed().toInt(&portOk);
    if (!port_->text().trimmed().isEmpty() && (!portOk || port < 1 || port > 65535)) {
        prompter_.showError(
            this,
            QStringLiteral("Enter a port from 1 to 65535, or leave the port empty for %1.").arg(protocol::kDefaultPort),
            QStringLiteral("Remote Server Not Saved"));
        port_->setFocus();
        return false;
    }
    const remote::RemoteServerEntry e = entry();
    const struct {
        const std::string& value;
        const char* what;
        QWidget* focus;
    } checks[] = {{e.serverName, "server name", field("serverName")},
                  {e.address, "server IP address", address_->octet(0)},
                  {e.adminName, "admin name", field("adminName")},
                  {e.password, "password", field("password")}};
    for (const auto& c : checks) {
        // A login without a password is the agent's business; an empty password still reads back as empty.
        if (remote::isStorableField(c.value) || (c.value.empty() && &c.value == &e.password))
            continue;
        const QString what = QString::fromUtf8(c.what);
        prompter_.showError(this,
                            c.value.empty() ? QStringLiteral("Enter the %1.").arg(what)
                                            : QStringLiteral("The %1 cannot hold a comma or a line break.").arg(what),
                            QStringLiteral("Remote Server Not Saved"));
        c.focus->setFocus();
        return false;
    }
    accept();
    return true;
}

} // namespace kv::manager::ui
