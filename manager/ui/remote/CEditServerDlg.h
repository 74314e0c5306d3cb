#pragma once

#include "manager/remote/RemoteServerList.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace kv::gui {
class Prompter;
}

namespace kv::manager::ui {

class CIpAddressField;

// "Edit Remote Control Server Access": name, four-octet address, the agent's port (blank: the usual one, kept in the
// list as "a.b.c.d:port" otherwise), admin name and an unmasked password. Unlike the
// earlier program, "Save" refuses what the list file could not give back unchanged: an empty field, a comma or a
// control character (the password may be empty only if the agent has none, which it never has).
class CEditServerDlg : public QDialog {
    Q_OBJECT
public:
    CEditServerDlg(gui::Prompter& prompter, std::function<void()> help, QWidget* parent = nullptr);

    void setEntry(const remote::RemoteServerEntry& entry);
    remote::RemoteServerEntry entry() const;

    // "Save": accepts when every field can be stored, else says what is wrong and stays open.
    bool save();

    QLineEdit* field(const char* objectName) const;
    CIpAddressField* address() const { return address_; }
    QLineEdit* port() const { return port_; }
    QPushButton* button(const char* objectName) const;

private:
    gui::Prompter& prompter_;
    CIpAddressField* address_ = nullptr;
    QLineEdit* port_ = nullptr;
};

} // namespace kv::manager::ui
