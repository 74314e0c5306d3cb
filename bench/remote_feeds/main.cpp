// bench_remote_feeds: monitor feeds through kvagent --headless while the simulator prints a paced flood (10,000
// lines a second for 3 seconds). Every feed client must receive every flood line, in order; the delay of a line is
// the time from the simulator writing it (stamped in the line) to its arrival at the client, which bounds the time
// from the agent's capture to the client. The baseline, measured in the same run, is a single feed client.
//
//   bench_remote_feeds --bin DIR --root DIR [--clients N] [--rate LINES_PER_SECOND] [--seconds S]
#include "FeedClient.h"

#include "bench/common/AgentProcess.h"
#include "bench/common/BenchFolder.h"
#include "bench/common/BenchOptions.h"
#include "bench/common/ProcessStatus.h"

#include "common/Files.h"
#include "common/channel/SslContext.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Round {
    bool ran = false;
    int lossyClients = 0;
    std::string firstFault;
    double medianMs = 0;
    double maxMs = 0;
    long agentThreads = 0;
    long agentVmHwmK = 0;
    double agentCpu = 0;  // CPU seconds from the feeds' attach to the last line
    double clientCpu = 0; // the same for the feed clients (this process)
};

template <typename Predicate>
bool waitFor(Predicate done, std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// One agent with a fresh simulator: the feeds attach while the simulator starts up, then the flood runs.
Round runRound(const std::string& bin, const std::string& folder, int clients, int rate, int total) {
    Round round;
    kv::bench::AgentProcess agent;
    std::string error;
    // The start delay gives every feed time to attach before the first flood line.
    if (!agent.start({bin,
                      folder,
                      true,
                      {{"KVSIM_START_DELAY_MS", "3000"},
                       {"KVSIM_LINE_INTERVAL_MS", "0"},
                       {"KVSIM_FLOOD_LINES", std::to_string(total)},
                       {"KVSIM_FLOOD_RATE", std::to_string(rate)}}},
                     &error) ||
        !agent.waitForLine("Server Status: Starting", 10s)) {
        std::fprintf(stderr, "bench_remote_feeds: %s%s\n", error.c_str(), agent.lastLines(20).c_str());
        return round;
    }
    kv::RemoteControlOptions options;
    options.context = kv::SslContext::create(kv::SslRole::Client);
    options.connectTimeout = 5s;
    options.replyTimeout = 5s;
    options.localFolder = folder;
    options.trust = kv::TrustSettings{kv::joinPath(folder, "known_agents")}; // never the user's own
    std::vector<std::unique_ptr<FeedClient>> feeds;
    for (int i = 0; i < clients; ++i) {
        // Each feed from an address of its own, as administrators on different hosts: the agent gives one address
        // only a few connections before login.
        options.localAddress = "127.0.0." + std::to_string(10 + i % 200);
        feeds.push_back(std::make_unique<FeedClient>(agent.address(), options, total));
        feeds.back()->start();
    }
    auto all = [&](auto test) { return std::all_of(feeds.begin(), feeds.end(), [&](auto& f) { return test(*f); }); };
    // Attached once the history (the simulator's start-up lines) has come.
    if (!waitFor([&] { return all([](FeedClient& f) { return f.linesSeen() > 0 || f.finished(); }); }, 10s))
        std::fprintf(stderr, "bench_remote_feeds: not every feed attached in time\n");
    kv::bench::ThreadPeakSampler sampler(agent.pid());
    sampler.start();
    const double agentCpu = kv::bench::cpuSeconds(agent.pid()), clientCpu = kv::bench::cpuSeconds(::getpid());
    const auto floodTime = std::chrono::milliseconds(static_cast<long long>(total) * 1000 / rate);
    waitFor([&] { return all([&](FeedClient& f) { return f.floodLines() >= total || f.finished(); }); },
            3s + floodTime + 20s);
    round.agentCpu = kv::bench::cpuSeconds(agent.pid()) - agentCpu;
    round.clientCpu = kv::bench::cpuSeconds(::getpid()) - clientCpu;
    round.agentThreads = sampler.stop();
    round.agentVmHwmK = kv::bench::ProcessFigures::read(agent.pid()).vmHwmK;
    // The agent's end ends its run, and with it every feed.
    agent.stop();
    if (!waitFor([&] { return all([](FeedClient& f) { return f.finished(); }); }, 15s)) {
        std::fprintf(stderr, "bench_remote_feeds: a feed did not end with the agent\n");
        std::_Exit(1); // its thread still uses its client object
    }
    std::vector<double> delays;
    for (const auto& feed : feeds) {
        std::string fault = feed->fault();
        if (!fault.empty()) {
            ++round.lossyClients;
            if (round.firstFault.empty())
                round.firstFault = fault;
        }
        delays.insert(delays.end(), feed->delays().begin(), feed->delays().end());
    }
    if (!delays.empty()) {
        std::nth_element(delays.begin(), delays.begin() + delays.size() / 2, delays.end());
        round.medianMs = delays[delays.size() / 2] / 1000;
        round.maxMs = *std::max_element(delays.begin(), delays.end()) / 1000;
    }
    round.ran = true;
    return round;
}

void print(const std::string& name, const Round& r) {
    std::printf("  %-22s delay median %7.2f ms, max %8.2f ms; lossless: %s; agent %ld threads peak, VmHWM %ld KiB\n",
                name.c_str(), r.medianMs, r.maxMs, r.lossyClients == 0 ? "yes" : "NO", r.agentThreads,
                r.agentVmHwmK);
    std::printf("    CPU during the flood: agent %.2f s, feed clients %.2f s\n", r.agentCpu, r.clientCpu);
    if (r.lossyClients > 0)
        std::printf("    %d client(s) lost or reordered lines, e.g. %s\n", r.lossyClients, r.firstFault.c_str());
}

} // namespace

int main(int argc, char** argv) {
    const auto paths = kv::bench::BenchOptions::parse(argc, argv, KV_BENCH_BIN_DIR, KV_SOURCE_ROOT);
    const int clients = kv::bench::countOption(argc, argv, "--clients", 20, 1, 30);
    const int rate = kv::bench::countOption(argc, argv, "--rate", 10000, 100, 100000);
    const int seconds = kv::bench::countOption(argc, argv, "--seconds", 3, 1, 10);
    const int total = rate * seconds;
    kv::bench::BenchFolder folder("kvbench-feeds");
    if (folder.path().empty()) {
        std::fprintf(stderr, "bench_remote_feeds: no scratch folder\n");
        return 1;
    }
    const Round single = runRound(paths.bin, folder.file("single"), 1, rate, total);
    const Round many = runRound(paths.bin, folder.file("many"), clients, rate, total);
    if (!single.ran || !many.ran)
        return 1;
    std::printf("Monitor feeds through kvagent --headless on loopback: %d lines at %d lines/s\n", total, rate);
    print("baseline: 1 client", single);
    print(std::to_string(clients) + " clients", many);
    std::printf("  ratio median delay %d clients / 1 client  %.2f; max delay  %.2f\n", clients,
                single.medianMs > 0 ? many.medianMs / single.medianMs : 0.0,
                single.maxMs > 0 ? many.maxMs / single.maxMs : 0.0);
    return single.lossyClients == 0 && many.lossyClients == 0 ? 0 : 1;
}
