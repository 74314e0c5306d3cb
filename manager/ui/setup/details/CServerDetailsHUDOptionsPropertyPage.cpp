#include "manager/ui/setup/details/CServerDetailsHUDOptionsPropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace kv::manager::ui {

CServerDetailsHUDOptionsPropertyPage::CServerDetailsHUDOptionsPropertyPage(setups::ServerSetup& setup,
                                                                           gui::Prompter& prompter, QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("display"), parent) {
    auto* form = new QFormLayout(this);
    addFlag(form, "Hide the ammunition count", setup.m_fHUDHideAmmoCount, "hideAmmoCount");
    addFlag(form, "Hide the weapon status", setup.m_fHUDHideWeaponStatus, "hideWeaponStatus");
    addFlag(form, "Hide the weapon", setup.m_fHUDHideWeapon, "hideWeapon");
    addFlag(form, "Hide the grenade count", setup.m_fHUDHideGrenades, "hideGrenades");
    addFlag(form, "Hide the health display", setup.m_fHUDHideHealth, "hideHealth");
    addFlag(form, "Hide the combat effectiveness", setup.m_fHUDHideCombatEffect, "hideCombatEffect");
    addFlag(form, "Hide the optics", setup.m_fHUDHideOptics, "hideOptics");
    addFlag(form, "Hide the compass", setup.m_fHUDHideCompass, "hideCompass");
    addFlag(form, "Hide the timer", setup.m_fHUDHideTimer, "hideTimer");
    addFlag(form, "Hide the radar", setup.m_fHUDHideRadar, "hideRadar");
    addFlag(form, "Hide death messages", setup.m_fHideDeathMessages, "hideDeathMessages");
    addFlag(form, "Disable fragmentation grenades", setup.m_fDisableFragGrenades, "disableFragGrenades");
    addFlag(form, "Disable flash-bangs", setup.m_fDisableFlashbangs, "disableFlashbangs");
    addFlag(form, "Disable smoke grenades", setup.m_fDisableSmokeGrenades, "disableSmokeGrenades");
    addFlag(form, "Disable thermite grenades", setup.m_fDisableThermiteGrenades, "disableThermiteGrenades");
    addFlag(form, "Disable 203 launcher grenades", setup.m_fDisable203Grenades, "disable203Grenades");
    addFlag(form, "Open all weapon class slots", setup.m_fOpenAllWeaponClassSlots, "openAllWeaponClassSlots");
}

} // namespace kv::manager::ui
