#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace kv::manager::ui {

// "Active Server Monitors": the setup names of the running monitors; "View Selected Monitor" closes the dialog with
// the chosen name (nothing happens while none is selected), and the caller brings that monitor to the front.
class CServerMonitorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CServerMonitorDlg(const std::vector<std::string>& names, QWidget* parent = nullptr);

    const std::string& selectedName() const { return selected_; }
    QListWidget* list() const { return list_; }
    QPushButton* viewButton() const { return view_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void viewSelected();

    QListWidget* list_ = nullptr;
    QPushButton* view_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::string selected_;
};

} // namespace kv::manager::ui
