#include "manager/remote/FleetStatus.h"

#include "common/protocol/HostAndPort.h"
#include "manager/remote/RemoteRunner.h"

#include <QTimer>

#include <algorithm>

namespace kv::remote {

namespace {

constexpr int kPlayerLimit = 9999; // no game server holds more; a larger figure is noise from the network

HostStatus::Reach whyRefused(const RemoteControlLibrary& library, KvsmRemoteObject* object) {
    int trust = KVSM_AGENT_NO_CONTACT;
    if (!library.getAgentIdentity(object, &trust, nullptr, nullptr))
        return HostStatus::Reach::NotReachable;
    switch (trust) {
    case KVSM_AGENT_KNOWN:
    case KVSM_AGENT_RECORDED:
        return HostStatus::Reach::LoginRefused; // a trusted agent that ended the session
    case KVSM_AGENT_NO_CONTACT:
        return HostStatus::Reach::NotReachable;
    default:
        return HostStatus::Reach::NotTrusted;
    }
}

// Runs on the worker; fills only `out`, which the completion shares.
int askHost(const RemoteControlLibrary& library, KvsmRemoteObject* object, const FleetStatus::Host& host,
            const core::StatusQueryTiming& timing, HostStatus& out) {
    std::string setup, status, map, description, adminPassword, playerPassword;
    std::uint32_t upTime = 0;
    int crashes = 0;
    std::int32_t ram = 0, peakRam = 0;
    if (!library.getServerStatus(object, &setup, &status, &map, &description, &adminPassword, &playerPassword, &upTime,
                                 &crashes, &ram, &peakRam)) {
        out.reach = whyRefused(library, object);
        return 0;
    }
    out.reach = HostStatus::Reach::Answered;
    out.status = cutForDisplay(status, kStatusWordLimit);
    out.setupName = cutForDisplay(setup, kSetupNameLimit);
    out.upTimeMinutes = upTime;
    if (serverRuns(status)) {
        // The game answers on the host's own address, whatever port its agent listens on.
        if (auto target = protocol::parseHostAndPort(host.login.address, 1)) {
            const core::StatusQueryResult answer = core::StatusQuery(timing).run(target->host, host.queryPort);
            if (answer.answered)
                out.players = std::clamp(answer.status.playerCount(), 0, kPlayerLimit); // a game's own figure
        }
    }
    return 1;
}

} // namespace

FleetStatus::FleetStatus(std::shared_ptr<const RemoteControlLibrary> library, FleetOptions options, QObject* parent)
    : QObject(parent), library_(std::move(library)), options_(options) {
    stop();
}

FleetStatus::~FleetStatus() = default;

void FleetStatus::stop() {
    // A new runner: the old one is closed at once, so that late answers find nobody, and goes once the call that
    // stopped (perhaps one of its own deliveries) has returned.
    if (runner_) {
        runner_->close();
        runner_->deleteLater();
    }
    runner_ = new RemoteRunner(library_, this, options_.workers, this);
    latest_.clear();
    pending_ = 0;
}

bool FleetStatus::refresh(const std::vector<Host>& hosts) {
    if (!library_ || pending_ > 0)
        return false;
    pending_ = static_cast<int>(hosts.size()) + 1; // held open until every host has been handed to the runner
    for (const Host& host : hosts)
        if (!ask(host, true))
            --pending_;
    if (--pending_ == 0)
        QTimer::singleShot(0, this, [this] { emit refreshEnded(); });
    return true;
}

bool FleetStatus::refreshHost(const Host& host) {
    return library_ && ask(host, false);
}

bool FleetStatus::ask(const Host& host, bool partOfRefresh) {
    const std::uint64_t request = ++requests_;
    latest_[host.key] = request;
    auto result = std::make_shared<HostStatus>();
    result->reach = HostStatus::Reach::NotReachable; // what a call that could not even start tells
    const core::StatusQueryTiming timing = options_.query;
    return runner_->run(
        host.login,
        [host, timing, result](const RemoteControlLibrary& library, KvsmRemoteObject* object) {
            return askHost(library, object, host, timing, *result);
        },
        [this, key = host.key, request, partOfRefresh, result](int) { answered(key, request, partOfRefresh, *result); },
        RemoteRunner::StatusLine::Skipped);
}

void FleetStatus::answered(Key key, std::uint64_t request, bool partOfRefresh, const HostStatus& status) {
    if (auto at = latest_.find(key); at != latest_.end() && at->second == request) {
        latest_.erase(at);
        emit hostChecked(key, status);
    }
    if (partOfRefresh && pending_ > 0 && --pending_ == 0)
        emit refreshEnded();
}

} // namespace kv::remote
