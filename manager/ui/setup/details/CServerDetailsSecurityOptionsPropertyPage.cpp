#include "manager/ui/setup/details/CServerDetailsSecurityOptionsPropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace kv::manager::ui {

CServerDetailsSecurityOptionsPropertyPage::CServerDetailsSecurityOptionsPropertyPage(setups::ServerSetup& setup,
                                                                                     gui::Prompter& prompter,
                                                                                     QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("security"), parent) {
    auto* form = new QFormLayout(this);
    addFlag(form, "Verify the game code of connecting players", setup.m_fSecurityEnableCodeCheck, "codeCheck");
    addFlag(form, "Verify the map files of connecting players", setup.m_fSecurityEnableMapCheck, "mapCheck");
}

} // namespace kv::manager::ui
