// bench_remote_concurrency: status sessions (connect, TLS, login, "GetStatus", logout) of 50 client threads at once
// against one `kvagent --headless`, through the client library, for a bounded time. The baseline, measured in the
// same run against the same agent, is one client doing the same sessions one after another. A third run repeats
// the concurrent one while the benchmark holds 200 idle connections open that never log in (from 10 other
// addresses, opened again as soon as the agent drops them). Each client connects from an address of its own, as
// administrators on different hosts would. Reports sessions per second, their ratios, failed sessions, and the
// agent's thread and memory peaks from /proc/<pid>/status.
//
//   bench_remote_concurrency --bin DIR --root DIR [--clients N] [--seconds S] [--idle N]
#include "bench/common/AgentProcess.h"
#include "bench/common/BenchFolder.h"
#include "bench/common/BenchOptions.h"
#include "bench/common/ProcessStatus.h"

#include "client/CServerRemoteControl.h"
#include "common/Files.h"
#include "common/channel/SslContext.h"

#include <algorithm>
#include <memory>
#include <poll.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// Keeps the last progress text of a client, which says where a failed session stopped.
class LastStep final : public kv::StatusSink {
public:
    void setText(const std::string& text) override { text_ = text; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

using Clock = std::chrono::steady_clock;

struct Phase {
    std::string firstFailure;
    long sessions = 0;
    long failures = 0;
    double seconds = 0;
    long threadPeak = 0;
    long vmHwmK = 0;
    double rate() const { return seconds > 0 ? sessions / seconds : 0; }
};

// Holds `count` plain TCP connections to the agent that never say anything, from 127.0.1.1 to 127.0.1.10, and opens
// a new one whenever the agent closes one, until destroyed.
class IdleConnections {
public:
    IdleConnections(unsigned port, int count) : port_(port), sockets_(static_cast<std::size_t>(count)) {
        thread_ = std::thread([this] { keep(); });
    }
    ~IdleConnections() {
        stop_ = true;
        thread_.join();
    }
    long reopened() const { return reopened_; }

private:
    void open(std::size_t i) {
        sockets_[i] = std::make_unique<kv::CCommAsyncSocket>();
        const std::string source = "127.0.1." + std::to_string(1 + i % 10);
        if (sockets_[i]->CreateBound(0, SOCK_STREAM, source.c_str()))
            sockets_[i]->ConnectTo("127.0.0.1", port_);
    }
    void keep() {
        for (std::size_t i = 0; i < sockets_.size(); ++i)
            open(i);
        while (!stop_) {
            std::vector<pollfd> fds;
            for (auto& socket : sockets_)
                fds.push_back({socket->Handle(), POLLIN, 0});
            if (::poll(fds.data(), fds.size(), 50) <= 0)
                continue;
            for (std::size_t i = 0; i < fds.size() && !stop_; ++i)
                if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL))) {
                    open(i); // closed by the agent, or never connected
                    ++reopened_;
                }
        }
    }

    unsigned port_;
    std::vector<std::unique_ptr<kv::CCommAsyncSocket>> sockets_;
    std::atomic<bool> stop_{false};
    std::atomic<long> reopened_{0};
    std::thread thread_;
};

// `clients` threads, each doing status sessions until `duration` has passed (a session under way is finished).
Phase run(const std::string& address, const kv::RemoteControlOptions& shared, int clients,
          std::chrono::milliseconds duration, pid_t agent) {
    std::atomic<long> sessions{0}, failures{0};
    std::atomic<bool> go{false};
    std::mutex firstFailureMutex;
    std::string firstFailure;
    kv::bench::ThreadPeakSampler sampler(agent);
    std::vector<std::thread> threads;
    Clock::time_point end;
    for (int i = 0; i < clients; ++i)
        threads.emplace_back([&, i] {
            kv::RemoteControlOptions options = shared;
            options.localAddress = "127.0.0." + std::to_string(10 + i % 200);
            kv::CServerRemoteControl client(address, "admin", "secret", options);
            LastStep lastStep;
            client.SetStatusWindow(&lastStep);
            while (!go)
                std::this_thread::yield();
            std::string setup, status, map, description, adminPassword, playerPassword;
            std::uint32_t upTime = 0;
            int crashes = 0;
            std::int32_t ram = 0, peakRam = 0;
            while (Clock::now() < end) {
                int ok = client.GetServerStatus(setup, status, map, description, adminPassword, playerPassword, upTime,
                                                crashes, ram, peakRam);
                if (ok && status == "Never Started") {
                    ++sessions;
                } else if (failures++ == 0) {
                    std::lock_guard lock(firstFailureMutex);
                    firstFailure = ok ? "status \"" + status + "\"" : "stopped at: " + lastStep.text();
                }
            }
        });
    sampler.start();
    const auto start = Clock::now();
    end = start + duration;
    go = true;
    for (std::thread& t : threads)
        t.join();
    Phase phase;
    phase.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    phase.threadPeak = sampler.stop();
    phase.vmHwmK = kv::bench::ProcessFigures::read(agent).vmHwmK;
    phase.sessions = sessions;
    phase.failures = failures;
    phase.firstFailure = firstFailure;
    return phase;
}

void print(const char* name, const Phase& p) {
    std::printf("  %-28s %8.1f sessions/s  (%ld in %.1f s, %ld failed)  agent: %ld threads peak, VmHWM %ld KiB\n",
                name, p.rate(), p.sessions, p.seconds, p.failures, p.threadPeak, p.vmHwmK);
    if (p.failures > 0)
        std::printf("    first failure: %s\n", p.firstFailure.c_str());
}

} // namespace

int main(int argc, char** argv) {
    const auto paths = kv::bench::BenchOptions::parse(argc, argv, KV_BENCH_BIN_DIR, KV_SOURCE_ROOT);
    const int clients = kv::bench::countOption(argc, argv, "--clients", 50, 1, 500);
    const int seconds = kv::bench::countOption(argc, argv, "--seconds", 5, 1, 20);
    const int idleCount = kv::bench::countOption(argc, argv, "--idle", 200, 1, 1000);
    kv::bench::BenchFolder folder("kvbench-concurrency");
    kv::bench::AgentProcess agent;
    std::string error;
    if (folder.path().empty() || !agent.start({paths.bin, folder.path(), false, {}}, &error)) {
        std::fprintf(stderr, "bench_remote_concurrency: %s\n", error.c_str());
        return 1;
    }
    kv::RemoteControlOptions options;
    options.context = kv::SslContext::create(kv::SslRole::Client);
    options.connectTimeout = std::chrono::seconds(5);
    options.replyTimeout = std::chrono::seconds(5);
    options.localFolder = folder.path();
    options.trust = kv::TrustSettings{kv::joinPath(folder.path(), "known_agents")}; // never the user's own
    const auto idle = kv::bench::ProcessFigures::read(agent.pid());

    const Phase sequential = run(agent.address(), options, 1, std::chrono::seconds(seconds), agent.pid());
    const Phase concurrent = run(agent.address(), options, clients, std::chrono::seconds(seconds), agent.pid());
    Phase flooded;
    long reopened = 0;
    {
        IdleConnections idle(agent.port(), idleCount);
        std::this_thread::sleep_for(std::chrono::milliseconds(500)); // let them all be open
        flooded = run(agent.address(), options, clients, std::chrono::seconds(seconds), agent.pid());
        reopened = idle.reopened();
    }
    const std::size_t refused = agent.logLinesContaining("Refused remote connection");
    agent.stop();

    std::printf("Status sessions against kvagent --headless on loopback (%d s each)\n", seconds);
    std::printf("  agent idle                   %ld threads, VmHWM %ld KiB\n", idle.threads, idle.vmHwmK);
    print("baseline: 1 client", sequential);
    print((std::to_string(clients) + " concurrent clients").c_str(), concurrent);
    std::printf("  ratio concurrent / sequential throughput  %.2f\n",
                sequential.rate() > 0 ? concurrent.rate() / sequential.rate() : 0.0);
    print((std::to_string(clients) + " clients, " + std::to_string(idleCount) + " idle").c_str(), flooded);
    std::printf("  idle connections the agent dropped (opened again) %ld\n", reopened);
    std::printf("  ratio with / without the idle connections  %.2f\n",
                concurrent.rate() > 0 ? flooded.rate() / concurrent.rate() : 0.0);
    if (refused > 0)
        std::printf("  connections the agent refused (session limit) %zu\n", refused);
    if (sequential.sessions == 0 || concurrent.sessions == 0 || flooded.sessions == 0) {
        std::fprintf(stderr, "bench_remote_concurrency: no status session succeeded\n");
        return 1;
    }
    return 0;
}
