// Remote logins under attack over the real listener: waits, one waiting login per address, the lockout at accept,
// the lines a log watcher reads, and an agent without a usable password. Waits are tiny or very long, so that
// nothing here depends on how fast the machine is.
#include "tests/agent/service/ServiceFixture.h"
#include "tests/support/WaitUntil.h"

#include <gmock/gmock.h>

#include <future>

using kv::test::RawClient;
using kv::test::ServiceTest;
using testing::ElementsAre;
using namespace std::chrono_literals;

namespace {

kv::agent::service::RemoteListener::Options throttled(unsigned freeFailures, std::chrono::milliseconds delay,
                                                      unsigned lockoutFailures) {
    kv::agent::service::RemoteListener::Options options;
    options.limits.throttle.freeFailures = freeFailures;
    options.limits.throttle.firstDelay = delay;
    options.limits.throttle.maxDelay = 2 * delay;
    options.limits.throttle.lockoutFailures = lockoutFailures;
    options.limits.throttle.lockoutTime = 10min;
    return options;
}

bool ready(const std::future<int>& f) {
    return f.wait_for(0s) == std::future_status::ready;
}

TEST_F(ServiceTest, WrongPasswordsEndInALockoutAtAcceptWhileAnotherAddressLogsIn) {
    ASSERT_TRUE(startListener(throttled(2, 1ms, 4)));
    // A name that tries to close its quotes, start a line (vertical tab, U+2028) and name another address.
    const std::string forged = "a\"\x0bRemote login failed from 10.9.9.9 for \"b\\\xE2\x80\xA8";
    for (const std::string& name : {forged, std::string("Admin"), std::string("Admin"), std::string("Admin")}) {
        RawClient c(listener->port());
        ASSERT_TRUE(c.send("Login\n" + name + "\nguess\n"));
        EXPECT_EQ(c.verdict(), 0);
    }
    EXPECT_FALSE(RawClient(listener->port()).connected()); // closed at accept, before the handshake
    EXPECT_TRUE(RawClient(listener->port(), "127.0.0.2").login());

    EXPECT_THAT(host.agentLines(),
                ElementsAre("Remote login failed from 127.0.0.1 for \"a\\x22\\x0BRemote login failed from 10.9.9.9 "
                            "for \\x22b\\x5C\\xE2\\x80\\xA8\" (Bad Admin Name, 1 in a row)\n",
                            "Remote login failed from 127.0.0.1 for \"Admin\" (Bad PW, 2 in a row)\n",
                            "Remote login failed from 127.0.0.1 for \"Admin\" (Bad PW, 3 in a row)\n",
                            "Remote login failed from 127.0.0.1 for \"Admin\" (Bad PW, 4 in a row)\n",
                            "Remote login locked out for 127.0.0.1 after 4 failures in a row, for 10 minutes\n",
                            "Remote login accepted from 127.0.0.2 for \"Admin\"\n"));
    // The refused connection reached no session.
    EXPECT_THAT(host.accessLines(), ElementsAre("Access Rejected from IP 127.0.0.1 (Bad Admin Name):",
                                                "Access Rejected from IP 127.0.0.1 (Bad PW):",
                                                "Access Rejected from IP 127.0.0.1 (Bad PW):",
                                                "Access Rejected from IP 127.0.0.1 (Bad PW):"));
}

TEST_F(ServiceTest, OneLoginOfAnAddressWaitsTheOtherIsRefusedAndStoppingEndsTheWait) {
    ASSERT_TRUE(startListener(throttled(1, 10min, 20)));
    RawClient first(listener->port());
    ASSERT_TRUE(first.send("Login\nAdmin\nguess\n"));
    EXPECT_EQ(first.verdict(), 0); // within the free failures: answered at once

    // From now on a login from 127.0.0.1 waits ten minutes; of two at once, one waits and one is refused at once.
    RawClient a(listener->port()), b(listener->port());
    a.socket().SetReplyTimeout(0ms); // no bound: only the agent ends the wait
    b.socket().SetReplyTimeout(0ms);
    ASSERT_TRUE(a.send("Login\nAdmin\nsecret\n") && b.send("Login\nAdmin\nsecret\n"));
    auto verdictA = std::async(std::launch::async, [&] { return a.verdict(); });
    auto verdictB = std::async(std::launch::async, [&] { return b.verdict(); });
    ASSERT_TRUE(kv::test::waitUntil([&] { return ready(verdictA) || ready(verdictB); }, 30s));
    std::future<int>& answered = ready(verdictA) ? verdictA : verdictB;
    std::future<int>& waiting = ready(verdictA) ? verdictB : verdictA;
    EXPECT_EQ(answered.get(), 0);
    EXPECT_FALSE(ready(waiting));

    // The administrator elsewhere is not held up.
    EXPECT_TRUE(RawClient(listener->port(), "127.0.0.2").login());

    // Stopping the agent ends the wait at once: no answer, and stop() does not sit out the ten minutes.
    auto stopped = std::async(std::launch::async, [&] { listener->stop(); });
    EXPECT_EQ(stopped.wait_for(30s), std::future_status::ready);
    EXPECT_EQ(waiting.get(), -1);
    EXPECT_THAT(host.accessLines(), ElementsAre("Access Rejected from IP 127.0.0.1 (Bad PW):",
                                                "Access Rejected from IP 127.0.0.1 (Too Many Attempts):"));
    EXPECT_THAT(
        host.agentLines(),
        testing::Contains("Remote login failed from 127.0.0.1 for \"Admin\" (Too Many Attempts, 2 in a row)\n"));
}

TEST_F(ServiceTest, WithoutAUsablePasswordEveryLoginIsRefusedAndTheAccessLogSaysWhy) {
    ASSERT_TRUE(startListener(throttled(10, 1ms, 20))); // no waits: this is about the password rule
    // Stored digest and the password that matches it (or anything, where none does).
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {kv::md5Hex(""), ""}, {kv::md5Hex("Gatepost"), "Gatepost"}, {"not a digest", "x"}};
    for (const auto& [stored, password] : cases) {
        host.updateSettings([digest = stored](kv::agent::AgentSettings& s) { s.md5Password = digest; });
        EXPECT_FALSE(RawClient(listener->port()).login("Admin", password)) << stored;
    }
    EXPECT_THAT(host.accessLines(),
                testing::AllOf(testing::SizeIs(4),
                               testing::Each(std::string("Access Rejected from IP 127.0.0.1 (No Password Set):"))));
}

} // namespace
