#include "cli/AgentTrustDialog.h"

#include "cli/CliStatus.h"
#include "cli/TerminalPrompt.h"
#include "client/RemoteControlLibrary.h"
#include "client/TrustStore.h"
#include "common/Text.h"
#include "common/protocol/ProtocolWords.h"

#include <ostream>
#include <unistd.h>

namespace kv::cli {

namespace {

std::string recordedDate(const std::string& trustFile, const protocol::HostAndPort& agent) {
    TrustStore store(trustFile);
    std::optional<TrustEntry> entry;
    return store.find(agent.host, agent.port, entry) && entry ? entry->date : std::string();
}

void showChanged(const IdentityCheck& check, const protocol::HostAndPort& agent, const std::string& trustFile,
                 bool refused, std::ostream& err) {
    const std::string date = recordedDate(trustFile, agent);
    err << "kvsm remote: WARNING: the identity of the agent at " << agentName(agent) << " has changed"
        << (refused ? "; nothing was sent to it, not even the password.\n" : ".\n") << "  recorded"
        << (date.empty() ? "" : " on " + date) << " in " << trustFile << ": " << check.recorded
        << "\n  presented now: " << check.presented
        << "\nSomeone may be posing as the agent, or it was given a new identity (a new machine, a reinstall,\n"
           "kvagent --new-identity).\n";
}

void showHowToTrust(const std::string& name, std::ostream& err) {
    err << "Run `kvagent --fingerprint` on that host. If it prints the fingerprint presented now, trust it with\n"
           "`kvsm remote trust "
        << name << " --fingerprint FINGERPRINT`, giving what it printed.\n";
}

bool isYes(const std::string& answer) {
    std::string word = toLowerAscii(trim(answer));
    return word == "yes" || word == "y";
}

} // namespace

std::optional<protocol::HostAndPort> trustedAgent(const std::string& address) {
    std::optional<protocol::HostAndPort> agent = protocol::parseHostAndPort(address, protocol::kDefaultPort);
    if (!agent || !isAcceptableTrustHost(agent->host))
        return std::nullopt;
    agent->host = toLowerAscii(agent->host);
    return agent;
}

std::string agentName(const protocol::HostAndPort& agent) {
    return agent.host + ":" + std::to_string(agent.port);
}

IdentityCheck checkIdentity(RemoteControlLibrary& library, const std::string& address, std::ostream& err) {
    IdentityCheck check;
    KvsmRemoteObject* object = library.create(address.c_str(), "", "");
    if (!object) {
        check.lastStep = "out of memory";
        return check;
    }
    CliStatus status(err, false);
    library.setStatusWindow(object, &status);
    library.checkAgentIdentity(object);
    library.getAgentIdentity(object, &check.trust, &check.presented, &check.recorded);
    library.destroy(object);
    check.lastStep = status.last();
    return check;
}

bool recordTrust(const protocol::HostAndPort& agent, const std::string& fingerprint, const std::string& trustFile,
                 std::ostream& out, std::ostream& err) {
    TrustStore store(trustFile);
    if (!store.record(agent.host, agent.port, fingerprint)) {
        err << "kvsm remote: nothing was recorded: " << store.error() << ".\n";
        return false;
    }
    out << "kvsm remote: " << agentName(agent) << " is now trusted (SHA-256 fingerprint " << fingerprint
        << "), recorded in " << trustFile << ".\n";
    return true;
}

bool askToTrust(const IdentityCheck& check, const protocol::HostAndPort& agent, const std::string& trustFile,
                std::ostream& out, std::ostream& err) {
    const std::string name = agentName(agent);
    if (check.trust == KVSM_AGENT_CHANGED)
        showChanged(check, agent, trustFile, false, err);
    else
        err << "kvsm remote: " << name << " is not in the trust file " << trustFile
            << ".\n  presented: " << check.presented << '\n';
    err << "Compare it with what `kvagent --fingerprint` prints on that host.\n";
    err.flush();
    // Only a person at a terminal can answer; a script never waits for a question it cannot see.
    std::optional<std::string> answer;
    if (::isatty(STDIN_FILENO))
        answer = askOnTerminal("Trust it? [yes/no] ", true);
    if (answer && isYes(*answer))
        return recordTrust(agent, check.presented, trustFile, out, err);
    err << "kvsm remote: nothing was recorded" << (answer ? "" : " (no terminal to ask on)") << ". To trust " << name
        << " without a question, give the fingerprint that `kvagent --fingerprint` prints on that host:\n"
           "  kvsm remote trust "
        << name << " --fingerprint FINGERPRINT\n";
    return false;
}

int confirmFirstContact(RemoteControlLibrary& library, const std::string& address, const std::string& trustFile,
                        std::ostream& out, std::ostream& err) {
    std::optional<protocol::HostAndPort> agent = trustedAgent(address);
    if (!::isatty(STDIN_FILENO) || !agent)
        return 0; // scripts trust on first use with a notice; a bad address fails in the operation
    IdentityCheck check = checkIdentity(library, address, err);
    switch (check.trust) {
    case KVSM_AGENT_KNOWN:
        return 0;
    case KVSM_AGENT_UNKNOWN:
        return askToTrust(check, *agent, trustFile, out, err) ? 0 : 1;
    case KVSM_AGENT_CHANGED:
        showChanged(check, *agent, trustFile, true, err);
        showHowToTrust(agentName(*agent), err);
        return 1;
    default:
        err << "kvsm remote: " << check.lastStep << '\n';
        return 1;
    }
}

bool reportAgentIdentity(RemoteControlLibrary& library, KvsmRemoteObject* object, const std::string& address,
                         const std::string& trustFile, const std::string& lastStep, std::ostream& err) {
    IdentityCheck check;
    if (!library.getAgentIdentity(object, &check.trust, &check.presented, &check.recorded))
        return false;
    check.lastStep = lastStep;
    return reportAgentIdentity(check, address, trustFile, err);
}

bool reportAgentIdentity(const IdentityCheck& check, const std::string& address, const std::string& trustFile,
                         std::ostream& err) {
    std::optional<protocol::HostAndPort> agent = trustedAgent(address);
    if (!agent || check.trust == KVSM_AGENT_NO_CONTACT)
        return false;
    const std::string name = agentName(*agent);
    switch (check.trust) {
    case KVSM_AGENT_RECORDED:
        err << "kvsm remote: first contact with " << name << "; its identity (SHA-256 fingerprint " << check.presented
            << ") is now trusted and recorded in " << trustFile
            << ". Compare it with what `kvagent --fingerprint` prints on that host.\n";
        return false;
    case KVSM_AGENT_CHANGED:
        showChanged(check, *agent, trustFile, true, err);
        showHowToTrust(name, err);
        return true;
    case KVSM_AGENT_UNKNOWN:
        err << "kvsm remote: " << name << " is not in the trust file " << trustFile
            << ", and --known-only refuses unknown agents; nothing was sent to it.\n  presented: " << check.presented
            << "\nCheck it with `kvagent --fingerprint` on that host, then trust it with\n`kvsm remote trust " << name
            << " --fingerprint FINGERPRINT`, giving what it printed.\n";
        return true;
    case KVSM_AGENT_TRUST_FILE_UNUSABLE:
        err << "kvsm remote: "
            << (check.lastStep.empty() ? "the trust file " + trustFile + " cannot be used" : check.lastStep) << '\n';
        return true;
    default:
        return false;
    }
}

} // namespace kv::cli
