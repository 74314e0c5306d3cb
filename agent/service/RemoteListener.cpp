#include "agent/service/RemoteListener.h"

#include "common/Format.h"

#include <map>
#include <poll.h>
#include <vector>
#include <sys/socket.h>
#include <system_error>

namespace kv::agent::service {

RemoteListener::RemoteListener(RemoteServiceHost& host, std::shared_ptr<SslContext> context)
    : host_(host), context_(std::move(context)), listener_(context_) {}

RemoteListener::~RemoteListener() {
    stop();
}

bool RemoteListener::start(const Options& options) {
    options_ = options;
    throttle_ = std::make_unique<LoginThrottle>(options.limits.throttle);
    slots_ = std::make_unique<LoggedInSlots>(options.maxLoggedIn);
    listener_.SetSslEnabled(true);
    if (!listener_.CreateBound(options.port, SOCK_STREAM, options.address.c_str())) {
        host_.agentLog(format("Failure creating server socket: %d", listener_.LastError()));
        return false;
    }
    // Room for a burst of connections while the oldest ones before login are being dropped.
    if (!listener_.Listen(static_cast<int>(options.maxBeforeLogin + options.maxLoggedIn))) {
        host_.agentLog(format("SOCKET Error entering listen() mode: %ld", static_cast<long>(listener_.LastError())));
        listener_.Close();
        return false;
    }
    port_ = listener_.LocalPort();
    thread_ = std::thread([this] {
        try {
            acceptLoop();
        } catch (const std::exception& e) {
            host_.agentLog(std::string("Remote control stopped: ") + e.what() + "\n");
        } catch (...) {
        }
    });
    return true;
}

namespace {
// How often the listener looks for connections past their login time while none arrives.
constexpr int kWatchMs = 100;
} // namespace

void RemoteListener::acceptLoop() {
    for (;;) {
        pollfd incoming{listener_.Handle(), POLLIN, 0};
        const int ready = ::poll(&incoming, 1, kWatchMs);
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            reapFinished();
            dropBeforeLogin(nullptr);
        }
        if (ready > 0)
            accept();
    }
}

void RemoteListener::accept() {
    auto connection = std::make_unique<CCommAsyncSocket>(context_);
    std::string peer;
    int accepted = listener_.AcceptInto(*connection, &peer);
    std::unique_lock lock(mutex_);
    if (stopping_)
        return;
    if (!accepted) {
        host_.agentLog(format("Failure accepting socket: %d", listener_.LastError()));
        stopWait_.wait_for(lock, options_.acceptRetry, [&] { return stopping_; });
        return;
    }
    // Logged once when the lockout began; a line per refused connection would let the address fill the log.
    if (throttle_->lockedOut(peer)) {
        connection->Close();
        return;
    }
    dropBeforeLogin(&peer);
    // Dropped sessions end within moments; until then they still hold a thread, so threads have a bound too.
    const std::size_t threads = 2 * options_.maxBeforeLogin + options_.maxLoggedIn;
    if (sessions_.size() >= threads) {
        host_.agentLog(
            format("Refused remote connection from %s: %zu sessions are open\n", peer.c_str(), sessions_.size()));
        connection->Close();
        return;
    }
    auto session = std::make_shared<RemoteSession>(std::move(connection), peer, host_, *throttle_, options_.limits,
                                                   slots_.get());
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread;
    try {
        thread = std::thread([session, done] {
            session->run();
            done->store(true);
        });
    } catch (const std::system_error& e) {
        // No thread for it: the connection is dropped, the listener goes on.
        host_.agentLog(std::string("Remote session could not start: ") + e.what() + "\n");
        return;
    }
    sessions_.push_back(Running{std::move(session), std::move(thread), std::move(done)});
}

void RemoteListener::drop(Running& r) {
    r.dropped = true;
    r.session->abort();
}

void RemoteListener::dropBeforeLogin(const std::string* peer) {
    const auto now = std::chrono::steady_clock::now();
    // Connections before login by address, oldest first: the list is in the order of accept.
    std::map<std::string, std::vector<Running*>> byAddress;
    std::size_t waiting = 0;
    for (Running& r : sessions_) {
        if (r.dropped || r.done->load() || r.session->loggedIn())
            continue;
        if (now - r.session->acceptedAt() >= options_.limits.loginTimeout) {
            drop(r);
            continue;
        }
        byAddress[r.session->peerAddress()].push_back(&r);
        ++waiting;
    }
    if (!peer)
        return;
    // An address that floods makes room from its own connections.
    std::vector<Running*>& own = byAddress[*peer];
    while (own.size() >= options_.maxBeforeLoginPerAddress && !own.empty()) {
        drop(*own.front());
        own.erase(own.begin());
        --waiting;
    }
    // When all places are taken, the address that holds the most gives up its oldest, so that many idle
    // connections from a few addresses never push out the one connection of a real client.
    while (waiting >= options_.maxBeforeLogin) {
        std::vector<Running*>* crowd = nullptr;
        for (auto& [address, list] : byAddress)
            if (!list.empty() && (!crowd || list.size() > crowd->size() ||
                                  (list.size() == crowd->size() &&
                                   list.front()->session->acceptedAt() < crowd->front()->session->acceptedAt())))
                crowd = &list;
        if (!crowd)
            break;
        drop(*crowd->front());
        crowd->erase(crowd->begin());
        --waiting;
    }
}

void RemoteListener::reapFinished() {
    for (auto it = sessions_.begin(); it != sessions_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = sessions_.erase(it);
        } else {
            ++it;
        }
    }
}

std::size_t RemoteListener::activeSessions() const {
    std::lock_guard lock(mutex_);
    std::size_t active = 0;
    for (const Running& r : sessions_)
        active += r.done->load() ? 0 : 1;
    return active;
}

void RemoteListener::stop() {
    std::list<Running> ending;
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        stopping_ = true;
        stopWait_.notify_all();
        if (listener_.IsOpen())
            ::shutdown(listener_.Handle(), SHUT_RDWR); // wakes the blocked accept
    }
    if (thread_.joinable())
        thread_.join();
    listener_.Close();
    {
        std::lock_guard lock(mutex_);
        ending.swap(sessions_);
    }
    for (Running& r : ending)
        r.session->abort();
    for (Running& r : ending)
        r.thread.join();
}

} // namespace kv::agent::service
