// Watches many game servers at once, as many remote control windows would: N in-process query ports that answer
// exactly as the simulator does, N probers started together, against one prober watching one server. Reports the
// time until every prober has reported, a few more rounds, the longest gap of a 5 ms heartbeat timer on the main
// thread meanwhile, and the time to close them all in the middle of their work. Never asserts a time.
//   bench_status_query [--servers N] [--rounds N] [--players N]

#include "manager/core/StatusProber.h"
#include "sim/QueryPort.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

int option(int argc, char** argv, const char* name, int fallback, int low, int high) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::clamp(std::atoi(argv[i + 1]), low, high);
    return fallback;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// N query ports on 127.0.0.1, served by one thread: each answers the status request with the simulator's reply.
class Responders {
public:
    Responders(int count, int players) {
        snapshot_.version = "1.0.0";
        snapshot_.hostName = "Bench Base";
        snapshot_.mapName = "Harbor";
        snapshot_.missionTime = "1:30";
        snapshot_.maxPlayers = 32;
        snapshot_.roundsPerMatch = 5;
        for (int n = 0; n < players; ++n)
            snapshot_.players.push_back({"Player" + std::to_string(n), n, n / 2, 30 + n, 10 * n, 1, 0});
        for (int i = 0; i < count; ++i) {
            auto port = std::make_unique<kv::sim::QueryPort>();
            std::string error;
            if (!port->open("127.0.0.1", 0, error)) {
                std::fprintf(stderr, "cannot open a query port: %s\n", error.c_str());
                std::exit(1);
            }
            sockaddr_in address{};
            socklen_t length = sizeof address;
            ::getsockname(port->fd(), reinterpret_cast<sockaddr*>(&address), &length);
            numbers_.push_back(ntohs(address.sin_port));
            ports_.push_back(std::move(port));
        }
        thread_ = std::thread([this] { serve(); });
    }
    ~Responders() {
        stop_ = true;
        thread_.join();
    }
    int port(int i) const { return numbers_[static_cast<std::size_t>(i)]; }
    long answered() const { return answered_; }

private:
    void serve() {
        std::vector<pollfd> fds;
        for (const auto& port : ports_)
            fds.push_back({port->fd(), POLLIN, 0});
        while (!stop_) {
            if (::poll(fds.data(), fds.size(), 20) <= 0)
                continue;
            for (std::size_t i = 0; i < fds.size(); ++i)
                if (fds[i].revents & POLLIN)
                    answered_ += ports_[i]->process(true, [this] { return snapshot_; });
        }
    }

    kv::sim::ServerStatusSnapshot snapshot_;
    std::vector<std::unique_ptr<kv::sim::QueryPort>> ports_;
    std::vector<int> numbers_;
    std::atomic<bool> stop_{false};
    std::atomic<long> answered_{0};
    std::thread thread_;
};

// The longest gap between ticks of a 5 ms timer on the main thread while it runs.
class Heartbeat {
public:
    Heartbeat() {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            const auto now = Clock::now();
            longest_ = std::max(longest_, std::chrono::duration<double, std::milli>(now - last_).count());
            last_ = now;
        });
        timer_.setTimerType(Qt::PreciseTimer);
    }
    void start() {
        longest_ = 0;
        last_ = Clock::now();
        timer_.start(5);
    }
    double stop() {
        timer_.stop();
        return longest_;
    }

private:
    QTimer timer_;
    Clock::time_point last_;
    double longest_ = 0;
};

struct Run {
    double startMs = 0;  // creating and starting the probers, in one go on the main thread
    double firstMs = 0;  // until every prober has reported once
    double roundsMs = 0; // until every prober has reported `rounds` times
    double closeMs = 0;  // stopping and destroying them all, queries in flight
    double stallMs = 0;  // longest heartbeat gap while they run (after the start)
    int reports = 0;
    int answered = 0; // reports that carried an answer
};

Run watch(const Responders& servers, int count, int rounds) {
    Heartbeat heartbeat;
    std::vector<std::unique_ptr<kv::core::StatusProber>> probers;
    std::vector<int> reports(static_cast<std::size_t>(count), 0);
    Run run;
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        // A short interval so that several rounds fit in the run; the queries themselves keep their real timing.
        auto prober = std::make_unique<kv::core::StatusProber>(
            "127.0.0.1", servers.port(i), kv::core::StatusProberTiming{{}, std::chrono::milliseconds(50)});
        QObject::connect(prober.get(), &kv::core::StatusProber::reportChanged, prober.get(),
                         [&, i](const kv::core::StatusReport& report) {
                             ++reports[static_cast<std::size_t>(i)];
                             ++run.reports;
                             run.answered += report.answered ? 1 : 0;
                         });
        prober->start();
        probers.push_back(std::move(prober));
    }
    run.startMs = msSince(start);
    heartbeat.start();
    auto everyone = [&](int atLeast) {
        return std::all_of(reports.begin(), reports.end(), [&](int n) { return n >= atLeast; });
    };
    const auto deadline = start + 60s;
    while (!everyone(1) && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    run.firstMs = msSince(start);
    while (!everyone(rounds) && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    run.roundsMs = msSince(start);
    run.stallMs = heartbeat.stop();
    // As the manager closes its windows at exit: every watch told to stop, then each one destroyed.
    const auto closing = Clock::now();
    for (const auto& prober : probers)
        prober->stop();
    probers.clear();
    run.closeMs = msSince(closing);
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int servers = option(argc, argv, "--servers", 200, 1, 1000);
    const int rounds = option(argc, argv, "--rounds", 5, 1, 100);
    const int players = option(argc, argv, "--players", 32, 0, 64);
    Responders responders(servers, players);

    std::vector<Run> singles;
    for (int i = 0; i < 5; ++i)
        singles.push_back(watch(responders, 1, rounds));
    std::sort(singles.begin(), singles.end(), [](const Run& a, const Run& b) { return a.firstMs < b.firstMs; });
    const Run one = singles[singles.size() / 2];
    const Run all = watch(responders, servers, rounds);

    std::printf("status query, one prober, one server (median of 5): first report %.2f ms, %d rounds %.1f ms, "
                "close %.3f ms, longest heartbeat gap %.1f ms\n",
                one.firstMs, rounds, one.roundsMs, one.closeMs, one.stallMs);
    std::printf("status query, %d probers, %d servers, %d players each: started in %.1f ms, all reported once in "
                "%.1f ms, %d rounds in %.1f ms, %d of %d reports answered, all closed in %.1f ms\n",
                servers, servers, players, all.startMs, all.firstMs, rounds, all.roundsMs, all.answered, all.reports,
                all.closeMs);
    std::printf("status query ratio (all %d at once / one, first report): %.1f; per server: %.3f\n", servers,
                all.firstMs / one.firstMs, all.firstMs / one.firstMs / servers);
    std::printf("status query longest heartbeat gap (5 ms timer, main thread) with %d probers: %.1f ms "
                "(aim: under 50 ms); with one: %.1f ms\n",
                servers, all.stallMs, one.stallMs);
    return 0;
}
