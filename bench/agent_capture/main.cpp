// Output capture of the agent: how fast game server output gets into the output line list, against a plain reader
// of the same pipe (what `kvsim ... | cat > /dev/null` does), and the agent's resident memory with a full list.
//
//   bench_agent_capture --bin DIR --root DIR [--lines N] [--rounds N]
//
// When started as "server.bin" the program is the game server of the memory run: it prints "Game engine
// initialized" and KV_BENCH_EMIT_LINES lines of KV_BENCH_EMIT_WIDTH characters, then waits to be stopped.
#include "agent/FeedList.h"
#include "agent/OutputLineList.h"
#include "agent/OutputReader.h"
#include "agent/SupervisionState.h"

#include "bench/common/BenchFolder.h"
#include "bench/common/BenchPorts.h"

#include "common/ChildProcess.h"
#include "common/AtomicFile.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "common/Format.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace kv;
using namespace kv::agent;
using Steady = std::chrono::steady_clock;

namespace {

bool writeText(const std::string& path, const std::string& text) { return writeFileAtomically(path, text); }

// Game folder whose server.bin is `program`.
bool makeGame(const std::string& folder, const std::string& program, const std::string& conf) {
    if (!makeDirectories(folder + "/System") || !makeDirectories(folder + "/Maps"))
        return false;
    if (::symlink(program.c_str(), (folder + "/System/server.bin").c_str()) != 0)
        return false;
    return writeText(folder + "/Maps/Harbor.kvo", "map\n") && writeText(folder + "/kvsim.conf", conf);
}

std::string floodConf(int lines) {
    return format("KVSIM_ADMIN_PORT=%d\nKVSIM_QUERY_PORT=%d\nKVSIM_START_DELAY_MS=0\nKVSIM_LINE_INTERVAL_MS=0\n"
                  "KVSIM_FLOOD_LINES=%d\n",
                  bench::freeTcpPort(), bench::freeUdpPort(), lines);
}

bool startSim(ChildProcess& p, const std::string& game) {
    ProcessOptions o;
    o.arguments = {game + "/System/server.bin", "GLOBAL", "Harbor.kvo"};
    std::string error;
    if (!p.start(o, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

// Seconds a plain reader needs to see the last flood line.
double plainRead(const std::string& game, int lines) {
    ChildProcess p;
    auto begin = Steady::now();
    if (!startSim(p, game))
        return -1;
    const std::string last = format("Flood line %d of %d", lines, lines);
    std::vector<char> buffer(64 * 1024 + 128);
    std::size_t keep = 0;
    for (;;) {
        ssize_t n = ::read(p.outputFd(), buffer.data() + keep, buffer.size() - keep);
        if (n <= 0)
            return -1;
        std::size_t size = keep + static_cast<std::size_t>(n);
        if (memmem(buffer.data(), size, last.data(), last.size()))
            break;
        keep = std::min<std::size_t>(size, 64);
        std::memmove(buffer.data(), buffer.data() + size - keep, keep);
    }
    return std::chrono::duration<double>(Steady::now() - begin).count();
}

// Seconds the agent's output reader needs to put the last flood line into the output line list.
double agentCapture(const std::string& game, int lines, const std::string& runningLog) {
    ChildProcess p;
    OutputLineList list(2000);
    SupervisionState state;
    state.setStatus(ServerStatus::Starting);
    FeedList feeds;
    SystemClock clock;
    auto begin = Steady::now();
    if (!startSim(p, game))
        return -1;
    OutputReader::Targets t;
    t.lines = &list;
    t.state = &state;
    t.feeds = &feeds;
    t.clock = &clock;
    t.runningLogPath = runningLog;
    t.linesAdded = [] {};
    OutputReader reader(::dup(p.outputFd()), t);
    p.closeOutput();
    const std::string last = format("Flood line %d of %d", lines, lines);
    OutputLine newest;
    while (!(list.newest(newest) && newest.text.find(last) != std::string::npos)) {
        if (reader.finished())
            return -1;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return std::chrono::duration<double>(Steady::now() - begin).count();
}

long rssKiB(pid_t pid) {
    auto text = readFile("/proc/" + std::to_string(pid) + "/status");
    if (!text)
        return -1;
    auto at = text->find("VmRSS:");
    return at == std::string::npos ? -1 : std::strtol(text->c_str() + at + 6, nullptr, 10);
}

// Resident KiB of a process, and the part of it that is anonymous memory (heap, stacks): what it allocated itself,
// without the pages of the program and library files.
struct Resident {
    long rss = -1;
    long privateK = -1;
};

Resident residentOf(pid_t pid) {
    Resident r;
    r.rss = rssKiB(pid);
    auto text = readFile("/proc/" + std::to_string(pid) + "/smaps_rollup");
    if (text) {
        auto field = [&](const char* key) {
            auto at = text->find(key);
            return at == std::string::npos ? 0L : std::strtol(text->c_str() + at + std::strlen(key), nullptr, 10);
        };
        r.privateK = field("Anonymous:");
    }
    return r;
}

// Memory of a headless agent in `work` once its output stops growing.
Resident agentRss(const std::string& bin, const std::string& work, const std::string& doneFile, bool expectOutput) {
    ChildProcess agent;
    ProcessOptions o;
    o.arguments = {bin + "/kvagent", "--headless", "--workdir", work, "--admin-port",
                   std::to_string(bench::freeTcpPort()), "--cleanup-ms", "100", "--stop-grace-ms", "200"};
    if (!agent.start(o))
        return {};
    auto deadline = Steady::now() + std::chrono::seconds(120);
    if (expectOutput)
        while (!fileExists(doneFile) && Steady::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    long last = -1;
    int stable = 0;
    while (stable < 5 && Steady::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        long now = rssKiB(agent.pid());
        stable = now == last ? stable + 1 : 0;
        last = now;
    }
    Resident result = residentOf(agent.pid());
    result.rss = last;
    agent.terminate();
    agent.waitFor(std::chrono::seconds(10));
    return result;
}

int emitter() {
    const char* linesText = std::getenv("KV_BENCH_EMIT_LINES");
    const char* widthText = std::getenv("KV_BENCH_EMIT_WIDTH");
    const char* done = std::getenv("KV_BENCH_EMIT_DONE");
    long lines = linesText ? std::strtol(linesText, nullptr, 10) : 0;
    long width = widthText ? std::strtol(widthText, nullptr, 10) : 100;
    std::string out = "Init: Game engine initialized\n";
    std::string line(static_cast<std::size_t>(width), 'x');
    line.push_back('\n');
    for (long i = 0; i < lines; ++i) {
        std::string number = std::to_string(i);
        std::memcpy(line.data(), number.data(), number.size());
        out += line;
        if (out.size() > (1 << 16)) {
            if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size())
                return 1;
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    if (done)
        writeText(done, "done\n");
    for (;;)
        ::pause();
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 0 && baseName(argv[0]) == "server.bin")
        return emitter();
    std::string bin, root;
    int lines = 1000000;
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--bin")
            bin = argv[i + 1];
        else if (a == "--root")
            root = argv[i + 1];
        else if (a == "--lines")
            lines = std::atoi(argv[i + 1]);
        else if (a == "--rounds")
            rounds = std::atoi(argv[i + 1]);
    }
    if (bin.empty()) {
        std::fprintf(stderr, "usage: bench_agent_capture --bin DIR --root DIR [--lines N] [--rounds N]\n");
        return 2;
    }
    // Removed on every way out, early failures included.
    const bench::BenchFolder scratch("kvbench-agent");
    const std::string temp = scratch.path();
    if (temp.empty() || !makeGame(temp + "/game", bin + "/kvsim", floodConf(lines))) {
        std::fprintf(stderr, "cannot prepare %s\n", temp.c_str());
        return 1;
    }

    // (1) Capture rate: best of `rounds` for each, all in this run.
    double plain = 1e9, off = 1e9, on = 1e9;
    for (int r = 0; r < rounds; ++r) {
        double a = plainRead(temp + "/game", lines);
        double b = agentCapture(temp + "/game", lines, "");
        double c = agentCapture(temp + "/game", lines, temp + "/running.log");
        ::unlink((temp + "/running.log").c_str());
        if (a < 0 || b < 0 || c < 0) {
            std::fprintf(stderr, "a capture round failed\n");
            return 1;
        }
        plain = std::min(plain, a);
        off = std::min(off, b);
        on = std::min(on, c);
    }
    std::printf("capture of %d lines (best of %d)\n", lines, rounds);
    std::printf("  plain pipe reader (baseline): %10.0f lines/s\n", lines / plain);
    std::printf("  agent, running log off:       %10.0f lines/s  ratio %.2f (target >= 0.25)\n", lines / off,
                plain / off);
    std::printf("  agent, running log on:        %10.0f lines/s  ratio %.2f\n", lines / on, plain / on);

    // (2) Memory with a full output line list: 204,000 lines of 100 characters.
    const int fullLines = 2000 * 102;
    const int width = 100;
    std::string work = temp + "/work";
    std::string game = temp + "/memgame";
    std::string done = temp + "/emit-done";
    std::string self = argv[0][0] == '/' ? argv[0] : bin + "/bench_agent_capture";
    if (!makeGame(game, self, "") || !makeDirectories(work + "/Configurations")) {
        std::fprintf(stderr, "cannot prepare the memory run\n");
        return 1;
    }
    ::setenv("KV_BENCH_EMIT_LINES", std::to_string(fullLines).c_str(), 1);
    ::setenv("KV_BENCH_EMIT_WIDTH", std::to_string(width).c_str(), 1);
    ::setenv("KV_BENCH_EMIT_DONE", done.c_str(), 1);
    writeText(work + "/Configurations/Mem.Control", "Name=Mem\nMap=Harbor.kvo\nIni=Mem.ini\n");
    writeText(work + "/Configurations/Mem.ini", "\n");
    // 20,000 K holds the 20.4 MB of text; the default 2,000 K would keep only the newest 2 MB of it.
    std::string settings = "MD5Password=0\nGameServerPath=" + game +
                           "\nCreateRunningLog=0\nMaxConsoleLoggingRAMInK=20000\nActiveControlFile=";
    writeText(work + "/KVSMRC.ini", settings + "\n");
    Resident idle = agentRss(bin, work, done, false);
    writeText(work + "/KVSMRC.ini", settings + "Mem.Control\n");
    Resident full = agentRss(bin, work, done, true);
    const double textBytes = static_cast<double>(fullLines) * width + 29;
    auto mb = [](long k) { return k / 1024.0; };
    auto ratio = [&](long k) { return k * 1024.0 / textBytes; };
    std::printf("memory with a full output line list (%d lines of %d characters, %.1f MB of text)\n", fullLines,
                width, textBytes / 1e6);
    std::printf("  idle agent (no server):       %8.1f MB resident, %6.1f MB allocated\n", mb(idle.rss),
                mb(idle.privateK));
    std::printf("  agent with the full list:     %8.1f MB resident, %6.1f MB allocated\n", mb(full.rss),
                mb(full.privateK));
    std::printf("  ratio to text: resident %.2f (target < 2), allocated %.2f, growth over idle %.2f\n",
                ratio(full.rss), ratio(full.privateK), ratio(full.rss - idle.rss));
    std::printf("  (resident includes the mapped pages of the program and its libraries, Qt and OpenSSL among them; "
                "allocated is heap and stacks)\n");
    return idle.rss > 0 && full.rss > 0 ? 0 : 1;
}
