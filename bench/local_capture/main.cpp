// Output capture of a local run: how fast the output of a server that the manager runs gets into the run's stored
// lines (stamped, bounded), against a plain reader of the same pipe (what `kvsim ... | cat > /dev/null` does).
//
//   bench_local_capture [--bin DIR] [--lines N] [--rounds N]
#include "manager/local/LocalRun.h"

#include "bench/common/BenchFolder.h"
#include "bench/common/BenchPorts.h"

#include "common/AtomicFile.h"
#include "common/ChildProcess.h"
#include "common/Files.h"
#include "common/Format.h"

#include <QCoreApplication>

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
using Steady = std::chrono::steady_clock;

namespace {

bool makeGame(const std::string& folder, const std::string& kvsim, int lines) {
    if (!makeDirectories(folder + "/System") || !makeDirectories(folder + "/Maps"))
        return false;
    if (::symlink(kvsim.c_str(), (folder + "/System/server.bin").c_str()) != 0)
        return false;
    const std::string conf = format("KVSIM_ADMIN_PORT=%d\nKVSIM_QUERY_PORT=%d\nKVSIM_START_DELAY_MS=0\n"
                                    "KVSIM_LINE_INTERVAL_MS=0\nKVSIM_FLOOD_LINES=%d\n",
                                    bench::freeTcpPort(), bench::freeUdpPort(), lines);
    return writeFileAtomically(folder + "/Maps/Harbor.kvo", "map\n") &&
           writeFileAtomically(folder + "/kvsim.conf", conf);
}

std::vector<std::string> arguments(const std::string& game) {
    return {game + "/System/server.bin", "GLOBAL", "Harbor.kvo", "log=\"Harbor.log\""};
}

// Seconds a plain reader of the pipe needs to see the last flood line.
double plainRead(const std::string& game, int lines) {
    ChildProcess p;
    ProcessOptions o;
    o.arguments = arguments(game);
    o.workingDirectory = game + "/System";
    const auto begin = Steady::now();
    if (!p.start(o))
        return -1;
    const std::string last = format("Flood line %d of %d", lines, lines);
    std::vector<char> buffer(64 * 1024 + 128);
    std::size_t keep = 0;
    for (;;) {
        const ssize_t n = ::read(p.outputFd(), buffer.data() + keep, buffer.size() - keep);
        if (n <= 0)
            return -1;
        const std::size_t size = keep + static_cast<std::size_t>(n);
        if (memmem(buffer.data(), size, last.data(), last.size()))
            break;
        keep = std::min<std::size_t>(size, 64);
        std::memmove(buffer.data(), buffer.data() + size - keep, keep);
    }
    return std::chrono::duration<double>(Steady::now() - begin).count();
}

// Seconds a local run needs to store the last flood line.
double localCapture(const std::string& game, int lines) {
    const auto begin = Steady::now();
    std::string error;
    manager::local::LocalRunOptions options;
    options.stopGrace = std::chrono::milliseconds(200);
    auto run = manager::local::LocalRun::start({"Bench", arguments(game), game + "/System"}, options, &error);
    if (!run) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return -1;
    }
    const std::string last = format("Flood line %d of %d", lines, lines);
    auto lastLine = [&] {
        const std::size_t n = run->lines().size();
        const auto newest = run->lines().lines(n ? n - 1 : 0, 1);
        return newest.empty() ? std::string() : newest[0].text;
    };
    auto nextEvents = Steady::now();
    while (lastLine().find(last) == std::string::npos) {
        if (run->hasEnded() || Steady::now() - begin > std::chrono::seconds(120))
            return -1;
        if (Steady::now() >= nextEvents) {
            QCoreApplication::processEvents();
            nextEvents = Steady::now() + std::chrono::milliseconds(10);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const double seconds = std::chrono::duration<double>(Steady::now() - begin).count();
    run->stop();
    while (!run->hasEnded()) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::string bin = KV_BENCH_BIN_DIR;
    int lines = 1000000;
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--bin")
            bin = argv[i + 1];
        else if (a == "--lines")
            lines = std::atoi(argv[i + 1]);
        else if (a == "--rounds")
            rounds = std::atoi(argv[i + 1]);
    }
    const bench::BenchFolder scratch("kvbench-local");
    const std::string game = scratch.path() + "/game";
    if (scratch.path().empty() || !makeGame(game, bin + "/kvsim", lines)) {
        std::fprintf(stderr, "cannot prepare a game folder with %s/kvsim\n", bin.c_str());
        return 1;
    }
    double plain = 1e9, local = 1e9;
    for (int r = 0; r < rounds; ++r) {
        const double a = plainRead(game, lines);
        const double b = localCapture(game, lines);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "a capture round failed\n");
            return 1;
        }
        plain = std::min(plain, a);
        local = std::min(local, b);
    }
    std::printf("capture of %d lines of a flooding kvsim (best of %d)\n", lines, rounds);
    std::printf("  plain pipe reader (baseline): %10.0f lines/s\n", lines / plain);
    std::printf("  local run, stamped and stored: %9.0f lines/s  ratio %.2f (target >= 0.5)\n", lines / local,
                plain / local);
    return 0;
}
