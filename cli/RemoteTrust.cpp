#include "cli/RemoteTrust.h"

#include "cli/AgentTrustDialog.h"
#include "client/RemoteControlLibrary.h"
#include "client/TrustStore.h"

#include <ostream>

namespace kv::cli {

int trustAgent(RemoteControlLibrary& library, const std::string& address, const std::optional<std::string>& fingerprint,
               const std::string& trustFile, std::ostream& out, std::ostream& err) {
    std::optional<protocol::HostAndPort> agent = trustedAgent(address);
    if (!agent)
        return 1;
    const std::string name = agentName(*agent);
    IdentityCheck check = checkIdentity(library, address, err);
    if (check.trust == KVSM_AGENT_NO_CONTACT || check.trust == KVSM_AGENT_TRUST_FILE_UNUSABLE) {
        err << "kvsm remote: " << check.lastStep << '\n';
        return 1;
    }
    if (fingerprint && *fingerprint != check.presented) {
        err << "kvsm remote: " << name << " presents another identity than the one given; nothing was recorded.\n"
            << "  given:     " << *fingerprint << "\n  presented: " << check.presented
            << "\nCompare both with what `kvagent --fingerprint` prints on that host. If it prints the one given, "
               "the agent\nanswering here is not that one: someone may be posing as it.\n";
        return 1;
    }
    if (check.trust == KVSM_AGENT_KNOWN) {
        out << "kvsm remote: " << name << " is already trusted (SHA-256 fingerprint " << check.presented << ").\n";
        return 0;
    }
    if (fingerprint)
        return recordTrust(*agent, check.presented, trustFile, out, err) ? 0 : 1;
    return askToTrust(check, *agent, trustFile, out, err) ? 0 : 1;
}

int forgetAgent(const std::string& address, const std::string& trustFile, std::ostream& out, std::ostream& err) {
    std::optional<protocol::HostAndPort> agent = trustedAgent(address);
    if (!agent)
        return 1;
    TrustStore store(trustFile);
    bool removed = false;
    if (!store.forget(agent->host, agent->port, removed)) {
        err << "kvsm remote: " << store.error() << ".\n";
        return 1;
    }
    if (!removed) {
        err << "kvsm remote: the trust file " << trustFile << " holds no entry for " << agentName(*agent) << ".\n";
        return 1;
    }
    out << "kvsm remote: " << agentName(*agent) << " is no longer trusted; the next contact will be a first one.\n";
    return 0;
}

int listKnownAgents(const std::string& trustFile, std::ostream& out, std::ostream& err) {
    TrustStore store(trustFile);
    std::vector<TrustEntry> entries;
    std::size_t unreadable = 0;
    if (!store.list(entries, &unreadable)) {
        err << "kvsm remote: " << store.error() << ".\n";
        return 1;
    }
    for (const TrustEntry& entry : entries)
        out << entry.agent() << '\t' << entry.fingerprint << '\t' << entry.date << '\n';
    if (unreadable > 0)
        err << "kvsm remote: " << unreadable << " line(s) of " << trustFile
            << " are not HOST:PORT FINGERPRINT DATE; they are kept but never match.\n";
    return 0;
}

} // namespace kv::cli
