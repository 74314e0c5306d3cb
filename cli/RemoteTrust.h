#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace kv {
class RemoteControlLibrary;
}

namespace kv::cli {

// The commands of "kvsm remote" that look after the trust file; none of them logs in. Each returns the exit status.

// "trust HOST[:PORT] [--fingerprint F]": contacts the agent and records the identity it presents, when it equals
// `fingerprint` (checked beforehand with canonicalFingerprint()) or when the user says yes on the terminal.
int trustAgent(RemoteControlLibrary& library, const std::string& address, const std::optional<std::string>& fingerprint,
               const std::string& trustFile, std::ostream& out, std::ostream& err);
// "forget HOST[:PORT]"
int forgetAgent(const std::string& address, const std::string& trustFile, std::ostream& out, std::ostream& err);
// "known": one line per entry, "HOST:PORT<tab>FINGERPRINT<tab>DATE".
int listKnownAgents(const std::string& trustFile, std::ostream& out, std::ostream& err);

} // namespace kv::cli
