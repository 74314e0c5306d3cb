#pragma once

#include "common/channel/KeyMaterial.h"

#include <optional>
#include <string>

namespace kv {

// The agent's own key pair and self-signed certificate. No key ships with the programs: each agent makes one on
// its first start and keeps it, so that clients can pin it as SSH pins a host key.
struct AgentIdentity {
    KeyMaterial keys;
    std::string fingerprint; // of the certificate, as certificateFingerprint() writes it
};

// The file in the agent's working folder that holds the private key and the certificate (mode 0600).
inline constexpr const char* kAgentIdentityFileName = "kvagent-identity.pem";

// A new ECDSA P-256 key and a certificate for it, valid for a century (clients pin it; nothing checks dates).
// `commonName` names the agent in the certificate (empty: "kvagent@" and the host name). Empty on failure, with
// `error`.
std::optional<AgentIdentity> makeAgentIdentity(const std::string& commonName, std::string* error = nullptr);

// The identity stored at `path`: the key must be unencrypted and belong to the certificate.
std::optional<AgentIdentity> readAgentIdentity(const std::string& path, std::string* error = nullptr);

// Replaces the file at `path` atomically, mode 0600.
bool writeAgentIdentity(const std::string& path, const AgentIdentity& identity, std::string* error = nullptr);

// The identity stored at `path`, or a new one written there when no file exists yet (`created` is then true). A
// file that exists but cannot be read is an error and is left as it is: replacing it would change the agent's
// identity behind the administrator's back.
std::optional<AgentIdentity> loadOrCreateAgentIdentity(const std::string& path, const std::string& commonName,
                                                       bool* created = nullptr, std::string* error = nullptr);

} // namespace kv
