// bench_manager_fleet_refresh: the "Status" refresh of the remote server list against many `kvagent --headless` on
// loopback (each with its own folders and port), through the client library built here. The baseline, measured in
// the same run, is one GetServerStatus call to one agent. Reports the median of a full refresh of every agent with
// the list's pool of workers, with one worker, their ratios to one call, how many hosts answered, and the longest
// stall of the owner's thread during the refreshes (a timer ticking every 2 ms there).
//
//   bench_manager_fleet_refresh --bin DIR --root DIR [--agents N] [--workers N] [--rounds N]
#include "bench/common/AgentProcess.h"
#include "bench/common/BenchFolder.h"
#include "bench/common/BenchOptions.h"

#include "common/Files.h"
#include "manager/remote/FleetStatus.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/remote/RemoteRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using kv::bench::AgentProcess;
using kv::remote::FleetStatus;
using kv::remote::HostStatus;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts every agent, a few at a time so that 2 cores keep up, each waited for until it listens; an agent that
// fails (a port taken in between) is tried once more on fresh folders.
bool startAgents(std::vector<std::unique_ptr<AgentProcess>>& agents, const std::string& bin, const std::string& root,
                 int count, std::string* firstError) {
    agents.resize(static_cast<std::size_t>(count));
    std::atomic<int> next{0}, failed{0};
    std::mutex errorMutex;
    auto starter = [&] {
        for (int i; (i = next++) < count;) {
            bool ok = false;
            std::string error;
            for (int attempt = 0; attempt < 2 && !ok; ++attempt) {
                const std::string folder = kv::joinPath(root, "a" + std::to_string(i) + "-" + std::to_string(attempt));
                auto agent = std::make_unique<AgentProcess>();
                ok = kv::makeDirectories(folder) && agent->start({bin, folder, false, {}}, &error);
                if (ok)
                    agents[static_cast<std::size_t>(i)] = std::move(agent);
            }
            if (!ok && failed++ == 0) {
                std::lock_guard lock(errorMutex);
                *firstError = error;
            }
        }
    };
    std::vector<std::thread> starters;
    for (int t = 0; t < 8; ++t)
        starters.emplace_back(starter);
    for (std::thread& t : starters)
        t.join();
    return failed == 0;
}

void stopAgents(std::vector<std::unique_ptr<AgentProcess>>& agents) {
    std::vector<std::thread> stoppers;
    for (auto& agent : agents)
        if (agent)
            stoppers.emplace_back([&agent] { agent->stop(std::chrono::seconds(10)); });
    for (std::thread& t : stoppers)
        t.join();
    agents.clear();
}

// One GetServerStatus call on the calling thread, with a fresh client object as the list makes it.
double oneCall(const kv::RemoteControlLibrary& lib, const std::string& address, bool* ok) {
    const auto start = Clock::now();
    KvsmRemoteObject* object = lib.create(address.c_str(), "admin", "secret");
    std::string setup, status, map, description, adminPassword, playerPassword;
    std::uint32_t upTime = 0;
    int crashes = 0;
    std::int32_t ram = 0, peakRam = 0;
    *ok = object && lib.getServerStatus(object, &setup, &status, &map, &description, &adminPassword, &playerPassword,
                                        &upTime, &crashes, &ram, &peakRam);
    lib.destroy(object);
    return ms(Clock::now() - start);
}

struct Refresh {
    double millis = 0;
    int answered = 0;
    double longestStallMs = 0;
};

// One whole-list refresh, timed on the owner's thread while a 2 ms timer measures how long that thread was held.
Refresh refreshOnce(FleetStatus& fleet, const std::vector<FleetStatus::Host>& hosts) {
    Refresh r;
    QEventLoop loop;
    auto c1 = QObject::connect(&fleet, &FleetStatus::hostChecked, &loop, [&r](FleetStatus::Key, const HostStatus& s) {
        r.answered += s.reach == HostStatus::Reach::Answered ? 1 : 0;
    });
    auto c2 = QObject::connect(&fleet, &FleetStatus::refreshEnded, &loop, [&loop] { loop.quit(); });
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(2);
    auto last = Clock::now();
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        const auto now = Clock::now();
        r.longestStallMs = std::max(r.longestStallMs, ms(now - last));
        last = now;
    });
    QTimer::singleShot(120000, &loop, [&loop] { loop.quit(); }); // a refresh that never ends shows as a failure
    ticker.start();
    const auto start = Clock::now();
    last = start;
    if (!fleet.refresh(hosts))
        return r;
    loop.exec();
    r.millis = ms(Clock::now() - start);
    r.longestStallMs = std::max(r.longestStallMs, ms(Clock::now() - last));
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    return r;
}

struct Series {
    double medianMs = 0;
    int leastAnswered = 0;
    double longestStallMs = 0;
};

Series refreshSeries(const std::shared_ptr<const kv::RemoteControlLibrary>& lib,
                     const std::vector<FleetStatus::Host>& hosts, int workers, int rounds) {
    FleetStatus fleet(lib, {.workers = workers, .query = {}});
    std::vector<double> times;
    Series s;
    s.leastAnswered = static_cast<int>(hosts.size());
    for (int i = 0; i < rounds; ++i) {
        const Refresh r = refreshOnce(fleet, hosts);
        times.push_back(r.millis);
        s.leastAnswered = std::min(s.leastAnswered, r.answered);
        s.longestStallMs = std::max(s.longestStallMs, r.longestStallMs);
    }
    s.medianMs = median(times);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto paths = kv::bench::BenchOptions::parse(argc, argv, KV_BENCH_BIN_DIR, KV_SOURCE_ROOT);
    const int count = kv::bench::countOption(argc, argv, "--agents", 50, 1, 200);
    const int workers = kv::bench::countOption(argc, argv, "--workers", kv::remote::FleetOptions{}.workers, 1, 64);
    const int rounds = kv::bench::countOption(argc, argv, "--rounds", 5, 1, 50);
    kv::bench::BenchFolder folder("kvbench-fleet");
    if (folder.path().empty()) {
        std::fprintf(stderr, "bench_manager_fleet_refresh: no scratch folder\n");
        return 1;
    }
    const auto binding = kv::remote::RemoteBinding::bind(kv::remote::RemoteBinding::candidatePaths(paths.bin),
                                                         folder.file("known_agents")); // never the user's own
    if (!binding.available()) {
        std::fprintf(stderr, "bench_manager_fleet_refresh: %s\n", binding.detail().c_str());
        return 1;
    }
    std::vector<std::unique_ptr<AgentProcess>> agents;
    std::string error;
    const auto startedAt = Clock::now();
    const bool started = startAgents(agents, paths.bin, folder.path(), count, &error);
    const double startMs = ms(Clock::now() - startedAt);
    if (!started) {
        std::fprintf(stderr, "bench_manager_fleet_refresh: an agent did not start: %s\n", error.c_str());
        stopAgents(agents);
        return 1;
    }
    std::vector<FleetStatus::Host> hosts;
    for (std::size_t i = 0; i < agents.size(); ++i)
        hosts.push_back({i + 1, {agents[i]->address(), "admin", "secret"}, kv::core::kStatusQueryPort});

    const auto lib = binding.library();
    refreshSeries(lib, hosts, workers, 1); // first contact: every agent's identity is recorded once
    std::vector<double> calls;
    int failedCalls = 0;
    for (int i = 0; i < 9; ++i) {
        bool ok = false;
        calls.push_back(oneCall(*lib, agents[static_cast<std::size_t>(i) % agents.size()]->address(), &ok));
        failedCalls += ok ? 0 : 1;
    }
    const double one = median(calls);
    const Series pooled = refreshSeries(lib, hosts, workers, rounds);
    const Series sequential = refreshSeries(lib, hosts, 1, std::max(1, rounds / 2));
    const bool workersEnded = kv::remote::RemoteRunner::waitForWorkers(std::chrono::seconds(30));
    const auto stoppedAt = Clock::now();
    stopAgents(agents);
    const double stopMs = ms(Clock::now() - stoppedAt);

    std::printf("Status refresh of the remote server list against %d kvagent --headless on loopback\n", count);
    std::printf("  agents started in %.0f ms, stopped in %.0f ms\n", startMs, stopMs);
    std::printf("  baseline: one GetServerStatus call        %8.1f ms  (median of %zu, %d failed)\n", one, calls.size(),
                failedCalls);
    std::printf("  full refresh, %2d workers                  %8.1f ms  (median of %d, at least %d of %d answered)\n",
                workers, pooled.medianMs, rounds, pooled.leastAnswered, count);
    std::printf("  full refresh, 1 worker                    %8.1f ms  (median of %d, at least %d of %d answered)\n",
                sequential.medianMs, std::max(1, rounds / 2), sequential.leastAnswered, count);
    std::printf("  ratio full refresh (%d workers) / one call  %.2f  (aim: under 3)\n", workers,
                one > 0 ? pooled.medianMs / one : 0.0);
    // What no pool can beat: calls go ceil(hosts / workers) deep, and on loopback the agents' side of every call
    // runs on the same cores as the client's.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const double floor = std::max((count + workers - 1) / workers * 1.0, 1.0 * count / cores);
    std::printf("  floor for %d hosts, %d workers, %u cores     %.2f x one call\n", count, workers, cores, floor);
    std::printf("  ratio full refresh 1 worker / %d workers    %.2f\n", workers,
                pooled.medianMs > 0 ? sequential.medianMs / pooled.medianMs : 0.0);
    std::printf("  owner's thread longest stall during refreshes %.1f ms  (aim: under 50)\n",
                std::max(pooled.longestStallMs, sequential.longestStallMs));
    if (!workersEnded)
        std::printf("  some workers had not ended 30 s after the last refresh\n");
    if (failedCalls > 0 || pooled.leastAnswered < count || sequential.leastAnswered < count) {
        std::fprintf(stderr, "bench_manager_fleet_refresh: some hosts did not answer\n");
        return 1;
    }
    return 0;
}
