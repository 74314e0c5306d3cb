#include "manager/ui/remote/AntiCheatTools.h"

#include "common/Text.h"
#include "gui/Prompter.h"
#include "manager/remote/AntiCheatFiles.h"
#include "manager/ui/remote/CConfigurePunkBusterServerOptions.h"
#include "manager/ui/remote/CPunkBusterOptionsDlg.h"
#include "manager/ui/remote/CPunkbusterConfigManagementDlg.h"
#include "manager/ui/remote/CRemoteServerPunkbusterScreenshotsDlg.h"

namespace kv::manager::ui {

AntiCheatUsageNote antiCheatUsageNote(std::string_view optionFile) {
    if (equalsNoCase(optionFile, remote::kGameOptionFile) || equalsNoCase(optionFile, remote::kServerOptionFile))
        return {"You must stop and restart the game server in order for the PunkBuster configuration changes to take "
                "effect.",
                "Game Server Must Be Restarted"};
    return {"You must use the \"admin PB_SV_LOAD command to load this configuration from the in-game console.",
            "PB Configuration Usage Instructions"};
}

void showAntiCheatOptions(core::ManagerContext& context, gui::Prompter& prompter, gui::DesktopServices& desktop,
                          const remote::RemoteHost& host, std::function<void(const char* page)> openHelp,
                          QWidget* parent) {
    auto help = [openHelp](const char* page) {
        return [openHelp, page] {
            if (openHelp)
                openHelp(page);
        };
    };
    CPunkBusterOptionsDlg options(parent);
    if (!prompter.runDialog(options))
        return;
    using Choice = CPunkBusterOptionsDlg::Choice;
    if (options.choice() == Choice::Screenshots || options.choice() == Choice::Logs) {
        CRemoteServerPunkbusterScreenshotsDlg files(context, prompter, desktop, host,
                                                    options.choice() == Choice::Logs
                                                        ? CRemoteServerPunkbusterScreenshotsDlg::Mode::Logs
                                                        : CRemoteServerPunkbusterScreenshotsDlg::Mode::Screenshots,
                                                    help(kAntiCheatFilesHelp), parent);
        prompter.runDialog(files);
        return;
    }
    if (options.choice() != Choice::Configuration)
        return;
    CPunkbusterConfigManagementDlg configurations(context, prompter, host, help(kAntiCheatOptionsHelp), parent);
    if (!prompter.runDialog(configurations))
        return;
    CConfigurePunkBusterServerOptions editor(context, prompter, host, configurations.chosenFile(),
                                             configurations.chosenIsNew(), help(kAntiCheatOptionsHelp), parent);
    if (!prompter.runDialog(editor))
        return;
    const AntiCheatUsageNote note = antiCheatUsageNote(configurations.chosenFile());
    prompter.showInformation(parent, QString::fromUtf8(note.text), QString::fromUtf8(note.caption));
}

} // namespace kv::manager::ui
