// bench_login_throttle: wrong-password logins from 127.0.0.1, one after another as fast as the agent answers, against
// one `kvagent --headless` whose password was set with `kvagent --set-password`, for a bounded time, while the
// administrator logs in from 127.0.0.2 through the client library. Reports the attacker's answered attempts per
// second (first 5 s and overall) and the connections refused at accept, and the administrator's login time during
// the attack against a baseline of the same logins measured before it. At the end the agent is stopped while a
// login of the attacker waits; the time it takes shows that the wait does not hold up the shutdown.
//
//   bench_login_throttle --bin DIR --root DIR [--seconds S] [--logins N] [--attackers N]
#include "bench/common/AgentProcess.h"
#include "bench/common/BenchFolder.h"
#include "bench/common/BenchOptions.h"

#include "client/CServerRemoteControl.h"
#include "common/Files.h"
#include "common/channel/SslContext.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kAttacker = "127.0.0.1";
constexpr const char* kAdministrator = "127.0.0.2";

std::shared_ptr<kv::SslContext> clientContext() {
    return kv::SslContext::create(kv::SslRole::Client);
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Connect, TLS handshake and login of the administrator from 127.0.0.2, through the client library: its time in
// milliseconds, or a negative figure when it failed. The logout is not timed.
double administratorLogin(const std::string& address, const kv::RemoteControlOptions& options) {
    kv::CServerRemoteControl client(address, "admin", "secret", options);
    const auto start = Clock::now();
    if (!client.Connection().CreateBound(0, SOCK_STREAM, kAdministrator) || !client.ConnectToServer())
        return -1;
    const double ms = millisecondsSince(start);
    client.DisconnectFromServer();
    return ms;
}

struct Timings {
    std::vector<double> ms;
    long failed = 0;
    void add(double t) {
        if (t < 0)
            ++failed;
        else
            ms.push_back(t);
    }
    double median() const {
        if (ms.empty())
            return 0;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    double max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// What the attackers saw: the times (from the attack's start) of the rejections they were given, the connections
// closed before the handshake (locked out), and the logins that got no answer before the end.
struct Attack {
    std::mutex mutex;
    std::vector<double> rejectedAt;
    long refused = 0;
    long unanswered = 0;
};

void attack(unsigned port, const std::shared_ptr<kv::SslContext>& context, Clock::time_point start,
            Clock::time_point end, Attack& out) {
    for (long n = 0; Clock::now() < end; ++n) {
        kv::CCommAsyncSocket socket(context);
        // No bound on the reply: the agent's wait is what is measured, and stopping the agent ends it.
        socket.SetTimeouts(5s, 0ms);
        // Unbound, a connection to 127.0.0.1 comes from 127.0.0.1 (kAttacker), with the kernel's choice of port.
        if (!socket.ConnectTo("127.0.0.1", port)) {
            std::lock_guard lock(out.mutex);
            ++out.refused;
            continue;
        }
        const std::string login = "Login\nadmin\nguess" + std::to_string(n) + "\n";
        char verdict = 1;
        const bool answered = socket.SendAll(login) == static_cast<int>(login.size()) &&
                              socket.ReceiveByte(&verdict) == 1 && verdict == 0;
        std::lock_guard lock(out.mutex);
        if (answered && Clock::now() < end)
            out.rejectedAt.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        else if (!answered)
            ++out.unanswered;
    }
}

void printTimings(const char* name, const Timings& t) {
    std::printf("  %-40s median %7.2f ms, max %7.2f ms (%zu logins, %ld failed)\n", name, t.median(), t.max(),
                t.ms.size(), t.failed);
}

} // namespace

int main(int argc, char** argv) {
    const auto paths = kv::bench::BenchOptions::parse(argc, argv, KV_BENCH_BIN_DIR, KV_SOURCE_ROOT);
    const int seconds = kv::bench::countOption(argc, argv, "--seconds", 20, 5, 60);
    const int logins = kv::bench::countOption(argc, argv, "--logins", 20, 1, 200);
    const int attackers = kv::bench::countOption(argc, argv, "--attackers", 1, 1, 8);
    kv::bench::BenchFolder folder("kvbench-login-throttle");
    kv::bench::AgentProcess agent;
    std::string error;
    kv::bench::AgentProcess::Setup setup{paths.bin, folder.path(), false, {}, true};
    if (folder.path().empty() || !agent.start(setup, &error)) {
        std::fprintf(stderr, "bench_login_throttle: %s\n", error.c_str());
        return 1;
    }
    const auto context = clientContext();
    kv::RemoteControlOptions options;
    options.context = context;
    options.connectTimeout = 5s;
    options.replyTimeout = 10s;
    options.localFolder = folder.path();
    options.trust = kv::TrustSettings{kv::joinPath(folder.path(), "known_agents")}; // never the user's own
    const unsigned port = static_cast<unsigned>(std::stoi(agent.address().substr(agent.address().rfind(':') + 1)));

    // Paced as during the attack, so that the two differ only by the attack (back-to-back logins run warmer).
    constexpr auto kPause = 200ms;
    Timings baseline;
    for (int i = 0; i < logins; ++i) {
        baseline.add(administratorLogin(agent.address(), options));
        std::this_thread::sleep_for(kPause);
    }

    Attack attacked;
    Timings during;
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    for (int i = 0; i < attackers; ++i)
        threads.emplace_back([&] { attack(port, context, start, end, attacked); });
    while (Clock::now() < end) {
        during.add(administratorLogin(agent.address(), options));
        std::this_thread::sleep_for(
            std::min<Clock::duration>(kPause, std::max<Clock::duration>(0s, end - Clock::now())));
    }
    const std::size_t failedLines = agent.logLinesContaining(std::string("Remote login failed from ") + kAttacker);
    const std::size_t lockoutLines = agent.logLinesContaining(std::string("Remote login locked out for ") + kAttacker);
    // A login of the attacker is most likely waiting now; stopping the agent must end that wait at once.
    const auto stopping = Clock::now();
    agent.stop();
    const double stopMs = millisecondsSince(stopping);
    for (std::thread& t : threads)
        t.join();

    const double firstFive = static_cast<double>(std::count_if(attacked.rejectedAt.begin(), attacked.rejectedAt.end(),
                                                               [](double t) { return t <= 5.0; })) /
                             5.0;
    std::printf("Wrong-password logins from %s (%d attacker thread%s, %d s) against kvagent --headless\n", kAttacker,
                attackers, attackers == 1 ? "" : "s", seconds);
    std::printf("  attempts answered (rejected)             %zu: %.2f/s in the first 5 s, %.2f/s overall\n",
                attacked.rejectedAt.size(), firstFive, static_cast<double>(attacked.rejectedAt.size()) / seconds);
    std::printf("  connections closed at accept (locked out) %ld\n", attacked.refused);
    std::printf("  agent log: %zu failed-login lines, %zu lockout lines for %s\n", failedLines, lockoutLines,
                kAttacker);
    std::printf("Administrator logins from %s (connect, TLS, login)\n", kAdministrator);
    printTimings("baseline: no attack", baseline);
    printTimings("during the attack", during);
    std::printf("  ratio during / baseline (medians)        %.2f\n",
                baseline.median() > 0 ? during.median() / baseline.median() : 0.0);
    std::printf("Agent stopped in %.0f ms; logins of the attacker that were waiting then: %ld\n", stopMs,
                attacked.unanswered);
    if (baseline.ms.empty() || during.ms.empty() || baseline.failed + during.failed > 0) {
        std::fprintf(stderr, "bench_login_throttle: an administrator login failed\n");
        return 1;
    }
    return 0;
}
