#pragma once

#include "client/RemoteControlApi.h"
#include "common/protocol/HostAndPort.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace kv {
class RemoteControlLibrary;
}

namespace kv::cli {

// The agent that an address names, as the trust file keys it: the host in lower case and the port (the default
// when none is given). Empty for an address that is not HOST[:PORT] or whose host the trust file cannot hold.
std::optional<protocol::HostAndPort> trustedAgent(const std::string& address);
std::string agentName(const protocol::HostAndPort& agent);

// What CheckAgentIdentity found out about an agent.
struct IdentityCheck {
    int trust = KVSM_AGENT_NO_CONTACT;
    std::string presented;
    std::string recorded;
    std::string lastStep; // the library's last status text
};
IdentityCheck checkIdentity(RemoteControlLibrary& library, const std::string& address, std::ostream& err);

// Records `fingerprint` for the agent in `trustFile` and says so on `out`; false with the reason on `err`.
bool recordTrust(const protocol::HostAndPort& agent, const std::string& fingerprint, const std::string& trustFile,
                 std::ostream& out, std::ostream& err);

// Shows an unknown or changed identity on `err`, asks on the terminal whether to trust it and records it in
// `trustFile` when the answer is yes. True when it was recorded; otherwise says why not and how to go on.
bool askToTrust(const IdentityCheck& check, const protocol::HostAndPort& agent, const std::string& trustFile,
                std::ostream& out, std::ostream& err);

// Before the password is asked for on a terminal: an unknown agent is shown and asked about, as SSH does with a
// new host. 0 to go on, else the exit status.
int confirmFirstContact(RemoteControlLibrary& library, const std::string& address, const std::string& trustFile,
                        std::ostream& out, std::ostream& err);

// After an operation: plain sentences on `err` about a first contact or a refused agent. True when the operation
// was refused because of the agent's identity.
bool reportAgentIdentity(RemoteControlLibrary& library, KvsmRemoteObject* object, const std::string& address,
                         const std::string& trustFile, const std::string& lastStep, std::ostream& err);
// The same for a contact that a monitor thread made on its own connection.
bool reportAgentIdentity(const IdentityCheck& check, const std::string& address, const std::string& trustFile,
                         std::ostream& err);

} // namespace kv::cli
