#pragma once

#include "client/RemoteControlLibrary.h"
#include "manager/core/StatusQuery.h"
#include "manager/core/StatusReply.h"
#include "manager/remote/HostStatus.h"
#include "manager/remote/RemoteHost.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kv::remote {

class RemoteRunner;

struct FleetOptions {
    // Hosts asked at once; the others wait their turn. A call to a distant host is mostly waiting for round trips,
    // so more at once shorten a refresh; but each call's TLS handshake costs CPU, and on a small machine many at once
    // starve the window's thread (bench_manager_fleet_refresh: 5 ms longest stall with 8, 13 ms with 16, 40 ms with
    // 32 on two cores). 16 keeps a refresh of 50 distant hosts at four rounds.
    int workers = 16;
    // The player count of a running server: short, because the host's worker (and its row) waits for it.
    core::StatusQueryTiming query{8, std::chrono::milliseconds(100)};
};

// The status of many remote hosts at once, for a list that shows them all: per host one client object and one
// GetServerStatus (no status line), then, only while the agent says that the server runs, a game status query for
// the player count. The calls run through a bounded RemoteRunner; each host's result comes back queued on this
// object's thread as soon as it is known, and a refresh of the whole list says when it ended. Results of a stopped
// or destroyed FleetStatus are dropped; nothing here ever waits for the network.
class FleetStatus : public QObject {
    Q_OBJECT
public:
    using Key = std::uint64_t; // the caller's name for a host; the same key in a later request supersedes

    struct Host {
        Key key = 0;
        RemoteHost login;
        int queryPort = core::kStatusQueryPort; // the game's status port on the host's address
    };

    explicit FleetStatus(std::shared_ptr<const RemoteControlLibrary> library, FleetOptions options = {},
                         QObject* parent = nullptr);
    ~FleetStatus() override;

    bool available() const { return library_ != nullptr; }

    // Asks every host; refreshEnded() follows the last of their results. False, with nothing asked, without the
    // library or while a whole-list refresh is still under way.
    bool refresh(const std::vector<Host>& hosts);
    bool refreshing() const { return pending_ > 0; }
    // Asks one host outside of the whole-list refresh (after an edit). An older request for its key that is still
    // under way is not reported any more.
    bool refreshHost(const Host& host);
    // Drops every request under way and queued; their results are never reported.
    void stop();

signals:
    void hostChecked(kv::remote::FleetStatus::Key key, const kv::remote::HostStatus& status);
    void refreshEnded();

private:
    bool ask(const Host& host, bool partOfRefresh);
    void answered(Key key, std::uint64_t request, bool partOfRefresh, const HostStatus& status);

    std::shared_ptr<const RemoteControlLibrary> library_;
    FleetOptions options_;
    RemoteRunner* runner_ = nullptr;
    std::uint64_t requests_ = 0;
    std::unordered_map<Key, std::uint64_t> latest_; // the request whose answer counts, per host
    int pending_ = 0;                               // hosts of the whole-list refresh still unanswered
};

} // namespace kv::remote
