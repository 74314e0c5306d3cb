// bench_remote_transfer: moves a 64 MiB file through the client library and the agent's remote service (download
// and upload, each a full operation: connect, login, transfer, logout) and compares the rate with a raw TLS
// transfer of the same bytes from openssl s_client to openssl s_server, measured in the same run on loopback.
#include "bench/common/BenchFolder.h"
#include "bench/common/BenchHost.h"

#include "agent/service/RemoteListener.h"
#include "client/CServerRemoteControl.h"
#include "common/AtomicFile.h"
#include "common/ChildProcess.h"
#include "common/Files.h"
#include "common/channel/AgentIdentity.h"
#include "common/channel/SslContext.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::size_t kFileSize = 64u << 20;
constexpr int kRounds = 3;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}
double mibPerSecond(double elapsed) {
    return static_cast<double>(kFileSize) / (1 << 20) / elapsed;
}

// Text lines of varied length, as ban lists and configuration files are: the upload is line-oriented.
std::string makePayload() {
    std::string text;
    text.reserve(kFileSize);
    unsigned state = 12345;
    while (text.size() < kFileSize) {
        state = state * 1103515245u + 12345u;
        std::size_t length = 20 + (state >> 16) % 140;
        for (std::size_t i = 0; i < length && text.size() + 1 < kFileSize; ++i)
            text.push_back(static_cast<char>('a' + (state >> (i % 16)) % 26));
        text.push_back('\n');
    }
    return text;
}

unsigned freePort() {
    kv::CCommAsyncSocket probe;
    probe.CreateBound(0, SOCK_STREAM, "127.0.0.1");
    return probe.LocalPort();
}

// One raw transfer: s_client sends the file, s_server writes what it receives to its output, which is counted.
double rawTlsTransfer(const std::string& identityFile, const std::string& file) {
    unsigned port = freePort();
    kv::ChildProcess server;
    kv::ProcessOptions serverOptions;
    serverOptions.arguments = {"openssl",
                               "s_server",
                               "-quiet",
                               "-accept",
                               "127.0.0.1:" + std::to_string(port),
                               "-cert",
                               identityFile,
                               "-key",
                               identityFile};
    serverOptions.mergeErrorIntoOutput = false;
    serverOptions.arguments[0] = "/usr/bin/openssl";
    std::string error;
    if (!server.start(serverOptions, &error)) {
        std::fprintf(stderr, "bench_remote_transfer: %s\n", error.c_str());
        return -1;
    }
    // Ready once a handshake succeeds (s_server goes on accepting after it).
    auto context = kv::SslContext::create(kv::SslRole::Client);
    for (int i = 0; i < 200; ++i) {
        kv::CCommAsyncSocket probe(context);
        if (probe.ConnectTo("127.0.0.1", port))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    kv::ChildProcess client;
    kv::ProcessOptions clientOptions;
    clientOptions.arguments = {"/usr/bin/openssl", "s_client", "-quiet", "-connect",
                               "127.0.0.1:" + std::to_string(port)};
    auto start = Clock::now();
    if (!client.start(clientOptions, &error)) {
        std::fprintf(stderr, "bench_remote_transfer: %s\n", error.c_str());
        return -1;
    }
    std::thread feeder([&] {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        std::vector<char> buffer(1 << 16);
        ssize_t n = 0;
        while (fd >= 0 && (n = ::read(fd, buffer.data(), buffer.size())) > 0)
            for (ssize_t off = 0; off < n;) {
                ssize_t w = ::write(client.inputFd(), buffer.data() + off, static_cast<size_t>(n - off));
                if (w <= 0)
                    break;
                off += w;
            }
        if (fd >= 0)
            ::close(fd);
    });
    std::thread drain([&] {
        char sink[4096];
        while (::read(client.outputFd(), sink, sizeof sink) > 0) {
        }
    });
    std::vector<char> buffer(1 << 16);
    std::size_t received = 0;
    while (received < kFileSize) {
        ssize_t n = ::read(server.outputFd(), buffer.data(), buffer.size());
        if (n <= 0)
            break;
        received += static_cast<std::size_t>(n);
    }
    double elapsed = seconds(start);
    feeder.join();
    client.kill();
    server.kill();
    client.waitFor(std::chrono::seconds(5));
    server.waitFor(std::chrono::seconds(5));
    drain.join();
    return received >= kFileSize ? elapsed : -1;
}

} // namespace

int main() {
    // Removed on every way out, early failures included.
    const kv::bench::BenchFolder scratch("kvbench");
    if (scratch.path().empty()) {
        std::perror("bench_remote_transfer: mkdtemp");
        return 1;
    }
    const std::string folder = scratch.path();
    const std::string game = kv::joinPath(folder, "game");
    const std::string payloadPath = kv::joinPath(folder, "payload.txt");
    kv::makeDirectories(kv::joinPath(game, "System/pb/svss"));
    kv::makeDirectories(kv::joinPath(folder, "work"));
    kv::makeDirectories(kv::joinPath(folder, "client"));
    const std::string payload = makePayload();
    if (!kv::writeFileAtomically(payloadPath, payload) ||
        !kv::writeFileAtomically(kv::joinPath(game, "System/pb/svss/big.png"), payload)) {
        std::fprintf(stderr, "bench_remote_transfer: cannot write the test files in %s\n", folder.c_str());
        return 1;
    }

    // The service and the openssl baseline present the same freshly made identity.
    const std::string identityFile = kv::joinPath(folder, kv::kAgentIdentityFileName);
    bool created = false;
    const auto identity = kv::loadOrCreateAgentIdentity(identityFile, "bench", &created);
    if (!identity) {
        std::fprintf(stderr, "bench_remote_transfer: cannot make an agent identity\n");
        return 1;
    }
    BenchHost host(kv::joinPath(folder, "work"), game);
    kv::agent::service::RemoteListener listener(host, kv::SslContext::create(kv::SslRole::Server, identity->keys));
    kv::agent::service::RemoteListener::Options options;
    options.address = "127.0.0.1";
    options.port = 0;
    if (!listener.start(options)) {
        std::fprintf(stderr, "bench_remote_transfer: the service cannot listen\n");
        return 1;
    }
    kv::RemoteControlOptions clientOptions;
    clientOptions.localFolder = kv::joinPath(folder, "client");
    clientOptions.context = kv::SslContext::create(kv::SslRole::Client);
    clientOptions.trust = kv::TrustSettings{kv::joinPath(folder, "known_agents")}; // never the user's own
    const std::string address = "127.0.0.1:" + std::to_string(listener.port());

    double raw = 1e9, download = 1e9, upload = 1e9;
    bool ok = true;
    for (int round = 0; round < kRounds; ++round) {
        double r = rawTlsTransfer(identityFile, payloadPath);
        if (r <= 0) {
            std::fprintf(stderr, "bench_remote_transfer: the openssl baseline failed\n");
            return 1;
        }
        raw = std::min(raw, r);
        auto start = Clock::now();
        ok = ok && kv::CServerRemoteControl(address, "admin", "secret", clientOptions)
                           .RetrievePunkbusterScreenshotFile("big.png", 0) == 1;
        download = std::min(download, seconds(start));
        start = Clock::now();
        ok = ok && kv::CServerRemoteControl(address, "admin", "secret", clientOptions).UploadBanlist(payloadPath) == 1;
        upload = std::min(upload, seconds(start));
    }
    ok = ok && kv::readFile(kv::joinPath(folder, "client/PBScreenshots/big.png")) == payload &&
         kv::readFile(kv::joinPath(game, "System/KVSMBanList.txt")) == payload;
    listener.stop();
    if (!ok) {
        std::fprintf(stderr, "bench_remote_transfer: a transfer failed or arrived damaged\n");
        return 1;
    }
    std::printf("64 MiB over TLS on loopback, best of %d\n", kRounds);
    std::printf("  baseline openssl s_client -> s_server  %7.1f MiB/s\n", mibPerSecond(raw));
    std::printf("  download (agent -> client library)      %7.1f MiB/s   ratio %.2f (aim >= 0.33)\n",
                mibPerSecond(download), raw / download);
    std::printf("  upload   (client library -> agent)      %7.1f MiB/s   ratio %.2f (aim >= 0.33)\n",
                mibPerSecond(upload), raw / upload);
    return 0;
}
