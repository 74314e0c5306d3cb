#include "agent/ui/ConfigureHelp.h"

#include "agent/SettingsFile.h"

#include <QString>
#include <QWidget>

namespace kv::agent::ui::configure_help {

std::string serverIp() {
    return "If you are running this on a server with multiple IP addresses enter the IP address the Remote Control "
           "should use to listen for remote connection requests.\n\nIf this server has only a single IP address "
           "either enter that IP address or leave this field blank.";
}

std::string adminName() {
    return "Enter the user name of the Administrator.  This user name is case sensitive and will be used by the KV "
           "Server Manager Remote Control tools to remotely control this server.";
}

std::string password(bool settingsDialog) {
    std::string text = "Enter the password for the Administrator.  This password is case sensitive and will be used "
                       "by the KV Server Manager Remote Control tools to remotely control this server.\n\nOnce you "
                       "have saved the password you cannot see it again so be sure and write it down and keep it in "
                       "a safe place.";
    if (settingsDialog)
        text += "\n\nIf you do not wish to change the current password leave this field blank.";
    return text;
}

std::string gameFolder() {
    return "Enter the path to your installation of Korvane.  Leave this blank if you want the Server Remote Control "
           "Utility to automatically locate the game for you.";
}

std::string controlFile() {
    return "This is the active server configuration and is the server configuration that will be used the next time "
           "the Server Remote Control Utility starts.  Use the \"Select\" button to pick an existing configuration."
           "\n\nNote that only configurations that have already been uploaded by the KV Server Manager will be "
           "available for selection.  Use the \"Select\" button to select an available server configuration.";
}

std::string showMemoryUsage() {
    return "Check this if you would like to track the memory usage of the Korvane game server.  When this is "
           "checked the server log file and KV Server Manager monitor will display the current memory usage on each "
           "line of the log.";
}

std::string csvMemoryLog() {
    return "Check this if you would like to automatically create a comma delimited file containing detailed memory "
           "logging information.  This can be useful in determining optimum memory requirements when running your "
           "game server";
}

std::string selectButton() {
    return "Click this to see a list of available server configuration files located on the server.\n\nNote that "
           "only configurations that have already been uploaded by the KV Server Manager will be available for "
           "selection.";
}

std::string honorField(const std::string& field) {
    return "Enter the your server's registered \"" + field + "\" in this field.  You must have registered your "
           "server at " + settings_file::kHonorSiteHost + " to acquire this account.";
}

std::string honorNote() {
    return std::string("If you have not registered your server at ") + settings_file::kHonorSiteHost +
           " please leave the \"Honor Server\" fields blank.";
}

void attach(QWidget* widget, const std::string& text) {
    const QString plain = QString::fromStdString(text);
    // Rich text in a fixed-width table: Qt then wraps the tip at that width instead of one long line.
    QString html = plain.toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    widget->setToolTip(QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>").arg(kToolTipWidth).arg(html));
    widget->setToolTipDuration(kToolTipDuration);
    widget->setProperty("helpText", plain);
}

} // namespace kv::agent::ui::configure_help
