#include "client/AgentPinning.h"

#include "client/TrustStore.h"
#include "common/Text.h"

namespace kv {

namespace {

constexpr const char* kNothingSent = " The connection was closed before the password was sent.";

std::string howToTrust(const std::string& agent) {
    return " Run `kvagent --fingerprint` on that host; if it prints the fingerprint presented now, trust it with `kvsm "
           "remote trust " +
           agent + "`.";
}

} // namespace

PinningVerdict checkAgentPin(const TrustSettings& settings, const std::string& host, unsigned port,
                             const std::string& presented, PinningMode mode) {
    const bool connecting = mode == PinningMode::Connect;
    const std::string agent = toLowerAscii(host) + ":" + std::to_string(port);
    PinningVerdict verdict;
    verdict.presented = presented;
    TrustStore store(settings.resolvedFile());
    auto unusable = [&] {
        verdict.trust = AgentTrust::TrustFileUnusable;
        verdict.text = "The identity of the agent at " + agent + " cannot be checked: " + store.error() + "." +
                       (connecting ? kNothingSent : "");
        return verdict;
    };

    std::optional<TrustEntry> entry;
    if (!store.find(host, port, entry))
        return unusable();
    if (!entry && connecting && settings.policy == TrustPolicy::TrustOnFirstUse) {
        if (!store.recordFirst(host, port, presented, entry))
            return unusable();
        if (!entry) {
            verdict.trust = AgentTrust::Recorded;
            verdict.recorded = presented;
            verdict.recordedDate = trustDateToday();
            return verdict;
        }
    }
    if (entry) {
        verdict.recorded = entry->fingerprint;
        verdict.recordedDate = entry->date;
        if (entry->fingerprint == presented) {
            verdict.trust = AgentTrust::Known;
            if (!connecting)
                verdict.text = "The agent at " + agent + " presented the identity recorded for it on " + entry->date +
                               " (SHA-256 fingerprint " + presented + ").";
            return verdict;
        }
        verdict.trust = AgentTrust::Changed;
        verdict.text = "The identity of the agent at " + agent + " has changed." + (connecting ? kNothingSent : "") +
                       " Recorded in " + store.path() + " on " + entry->date + ": SHA-256 fingerprint " +
                       entry->fingerprint + ". Presented now: " + presented +
                       ". Someone may be posing as the agent, or it was given a new identity (a new machine, a "
                       "reinstall, kvagent --new-identity)." +
                       howToTrust(agent);
        return verdict;
    }
    verdict.trust = AgentTrust::Unknown;
    verdict.text = "The agent at " + agent + " is not in the trust file " + store.path() + "." +
                   (connecting ? " Only known agents are accepted." + std::string(kNothingSent) : std::string()) +
                   " It presented the SHA-256 fingerprint " + presented + "." +
                   (connecting ? howToTrust(agent) : std::string());
    return verdict;
}

} // namespace kv
