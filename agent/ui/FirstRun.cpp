#include "agent/ui/FirstRun.h"

#include "agent/ui/CConfigureDlg.h"
#include "agent/ui/ConfigureValues.h"

#include "agent/SettingsFile.h"
#include "manager/core/GameInstallation.h"

#include "gui/Prompter.h"

#include "common/Files.h"

namespace kv::agent::ui {

bool runFirstRunDialog(AgentSettings& settings, const AgentEnvironment& env, gui::Prompter& prompter) {
    const ConfigureValues initial = ConfigureValues::forFirstRun(
        settings, core::findGameInstallation(env.systemGameSettings, env.userGameSettings).folder);
    CConfigureDlg dialog(initial, joinPath(env.workDir, "Configurations"), prompter);
    if (!prompter.runDialog(dialog))
        return false;
    configure_values::applyFirstRun(dialog.values(), initial, settings);
    std::string error;
    if (settings_file::save(joinPath(env.workDir, settings_file::kFileName), settings, &error))
        return true;
    prompter.showError(nullptr, QString::fromUtf8(settings_file::kSaveFailedText),
                       QString::fromUtf8(settings_file::kSaveFailedCaption));
    return false;
}

} // namespace kv::agent::ui
