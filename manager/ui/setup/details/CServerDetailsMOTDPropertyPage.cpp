#include "manager/ui/setup/details/CServerDetailsMOTDPropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace kv::manager::ui {

CServerDetailsMOTDPropertyPage::CServerDetailsMOTDPropertyPage(setups::ServerSetup& setup, gui::Prompter& prompter,
                                                               QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("motd"), parent) {
    auto* form = new QFormLayout(this);
    for (int i = 0; i < 4; ++i) {
        auto* line = new QLineEdit(this);
        line->setObjectName(QStringLiteral("motd%1").arg(i));
        CleanTextValidator::attach(line);
        form->addRow(QStringLiteral("Line %1:").arg(i + 1), line);
        bindings_.text(line, setup.m_acsMOTD[static_cast<std::size_t>(i)]);
    }
    auto* seconds = new QLineEdit(this);
    seconds->setObjectName(QStringLiteral("motdSeconds"));
    seconds->setValidator(new QIntValidator(0, 3600, seconds));
    form->addRow(QStringLiteral("Show the message for (seconds):"), seconds);
    bindings_.number(seconds, setup.m_iMOTDDisplaySeconds);
}

} // namespace kv::manager::ui
