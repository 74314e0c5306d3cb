#pragma once

#include "client/TrustSettings.h"

#include <string>

namespace kv {

// How the identity that an agent presented compared with the trust file. The numbers are the library interface's
// KVSM_AGENT_* values.
enum class AgentTrust {
    NoContact = 0,         // no handshake has completed
    Known = 1,             // it presented the recorded fingerprint
    Recorded = 2,          // first contact: its fingerprint was recorded (trust on first use)
    Unknown = 3,           // not in the trust file and not recorded: refused (known only), or merely checked
    Changed = 4,           // it presented another fingerprint than the recorded one: refused
    TrustFileUnusable = 5, // the trust file could not be read or written: refused
};

enum class PinningMode {
    Connect, // a session follows only with a trusted agent; trust on first use records a new one
    Check,   // compare only, record nothing
};

struct PinningVerdict {
    AgentTrust trust = AgentTrust::NoContact;
    std::string presented;
    std::string recorded; // what the trust file holds for the agent; empty when nothing
    std::string recordedDate;
    // For the status window: why the agent was refused, or what a check found. Empty when a session goes on, so
    // that the progress texts stay as they were; the caller asks for the outcome when it wants to tell of it.
    std::string text;

    bool trusted() const { return trust == AgentTrust::Known || trust == AgentTrust::Recorded; }
};

// Compares `presented`, the fingerprint of the certificate that the agent at host:port has just shown, with the trust
// file of `settings`. `host` is the name the user gave; it is compared in lower case.
PinningVerdict checkAgentPin(const TrustSettings& settings, const std::string& host, unsigned port,
                             const std::string& presented, PinningMode mode);

} // namespace kv
