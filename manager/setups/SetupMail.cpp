#include "manager/setups/SetupMail.h"

#include "common/Files.h"
#include "common/Format.h"
#include "manager/setups/SetupDescription.h"

namespace kv::setups {

namespace {

constexpr const char* kBodyTemplate =
    "The attached files are for use with an Korvane %s%s server%s.\r\n\r\n"
    "If you have the Korvane Server Manager installed you may load the file \"%s.ServerConfig\" into it to control "
    "your server.\r\n\r\n"
    "To use them save the attached files into your Korvane System folder (typically \"C:\\Program "
    "Files\\Korvane\\System\").\r\n\r\n"
    "Once you have saved the attached files you can run the server using this configuration file on a Windows PC by "
    "creating a shortcut on your desktop to:\r\n\r\n%s\r\n\r\n"
    "(be sure and include the quotation marks) or on a Linux server use:\r\n\r\n\"./%s\"\r\n\r\n"
    "(making sure you are in the Korvane system folder).\r\n\r\n"
    "The administrator password for this server is \"%s\".\r\n%s\r\n"
    "If you have the Korvane Server Manager installed you can customize this server setup by saving the attached "
    "file \"%s.ServerConfig\" to the \"Server Setups\" folder under the folder where you installed the program and "
    "then using the \"Add E-Mailed Server Setup You Have Received\" menu option.\r\n\r\n"
    "This server setup supports the following features:\r\n\r\n%s";

std::string playerPasswordSentence(const ServerSetup& s) {
    if (s.m_csPlayerPassword.empty())
        return "This server does not require a player password to join.\r\n";
    return "Players must use the following password: \"" + s.m_csPlayerPassword + "\".\r\n";
}

} // namespace

SetupMail composeSetupMail(const ServerSetup& s, const MapTable& maps, const std::string& generatedFolder,
                           const std::string& setupFile) {
    SetupMail mail;
    const bool tournament = s.m_fTournamentModeEnabled != 0;
    const std::string prefix = tournament ? format("%s Tournament ", s.m_csTournamentEventName.c_str()) : "";
    mail.subject = format("%s%s Server Configuration Files", prefix.c_str(), s.m_csName.c_str());

    const std::string league =
        s.m_csLeagueName.empty() ? "" : format(" for the \"%s\"%s", s.m_csLeagueName.c_str(), " league");
    mail.body = format(kBodyTemplate, s.m_fLANOnly ? "LAN or private" : "Internet",
                       tournament ? " \"tournament mode\"" : "", league.c_str(), s.m_csName.c_str(),
                       s.windowsStartCommand.c_str(), s.generatedShName.c_str(), s.m_csAdminPassword.c_str(),
                       playerPasswordSentence(s).c_str(), s.m_csName.c_str(), describeSetup(s, maps, false).c_str());

    // Only files that are really there: a mail program refuses, or silently drops, a missing attachment.
    for (const std::string* name : {&s.generatedIniName, &s.generatedBatName, &s.generatedShName}) {
        const std::string path = joinPath(generatedFolder, *name);
        if (!name->empty() && fileExists(path))
            mail.attachments.push_back(path);
    }
    if (fileExists(setupFile))
        mail.attachments.push_back(setupFile);
    return mail;
}

} // namespace kv::setups
