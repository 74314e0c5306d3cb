#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>
#include <vector>

namespace kv::setups {

class MapTable;

// The message that hands a setup to someone else: what the manager's E-Mail command and "kvsm setup email" give the
// user's mail program to complete and send.
struct SetupMail {
    std::string subject;
    std::string body; // CR LF lines
    std::vector<std::string> attachments; // absolute paths of files that exist
};

// `setup` has just been generated (its generated file names and start commands are filled); `generatedFolder` is
// <documents>/Korvane Server Setups and `setupFile` the setup's own .ServerConfig file.
SetupMail composeSetupMail(const ServerSetup& setup, const MapTable& maps, const std::string& generatedFolder,
                           const std::string& setupFile);

} // namespace kv::setups
