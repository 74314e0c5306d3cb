// Feeds arbitrary client bytes to a real agent session over a loopback connection (without TLS): after a valid
// login, every request, upload and name the bytes make up is carried out against a temporary agent folder. The
// corpus holds lines longer than their readers, embedded NUL bytes and names at their length limits.
#include "agent/service/RemoteSession.h"
#include "tests/agent/service/ServiceFixture.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <thread>

namespace {

struct Fixture {
    Fixture() {
        if (!listener.CreateBound(0, SOCK_STREAM, "127.0.0.1") || !listener.Listen())
            std::abort();
        host.history = {{1700000000, "history", 1}};
        host.runExists = false;
    }
    kv::test::FakeServiceHost host;
    kv::agent::service::LoginThrottle throttle;
    kv::agent::service::LoggedInSlots slots{1}; // one session at a time: its place must come back every run
    kv::CCommAsyncSocket listener; // plain: the channel's TLS is tested elsewhere, this is about the session
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    kv::CCommAsyncSocket client;
    if (!client.ConnectTo("127.0.0.1", fixture.listener.LocalPort())) {
        std::fprintf(stderr, "connect to %u failed: %d\n", fixture.listener.LocalPort(), client.LastError());
        std::abort();
    }
    auto accepted = std::make_unique<kv::CCommAsyncSocket>();
    if (!fixture.listener.AcceptInto(*accepted))
        std::abort();
    std::string input = "Login\nAdmin\nsecret\n";
    input.append(reinterpret_cast<const char*>(data), size);
    std::thread peer([&] {
        client.SendAll(input);
        ::shutdown(client.Handle(), SHUT_WR);
        char sink[4096];
        while (client.Receive(sink, sizeof sink) > 0) {
        }
    });
    kv::agent::service::SessionLimits limits;
    limits.loginTimeout = std::chrono::milliseconds(2000);
    limits.idleTimeout = std::chrono::milliseconds(2000);
    limits.feedCheck = std::chrono::milliseconds(10);
    limits.closeLinger = std::chrono::milliseconds(0);
    kv::agent::service::RemoteSession session(std::move(accepted), "127.0.0.1", fixture.host, fixture.throttle, limits,
                                                &fixture.slots);
    session.run();
    peer.join();
    if (fixture.slots.taken() != 0)
        std::abort();
    // Nothing a client sends may leave a control file line longer than its readers take.
    for (const std::string& name : kv::listDirectory(fixture.host.workDir() + "/Configurations")) {
        const std::string text = kv::readFile(fixture.host.workDir() + "/Configurations/" + name).value_or("");
        if (name.ends_with(".Control"))
            for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1)
                if ((end = text.find('\n', start)) == std::string::npos || end - start > 511)
                    std::abort();
    }
    return 0;
}
