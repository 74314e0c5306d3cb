// The login throttle's rules against a clock that the test moves.
#include "agent/service/LoginThrottle.h"

#include <gtest/gtest.h>

#include <vector>

using kv::agent::service::LoginThrottle;
using namespace std::chrono_literals;

namespace {

class Throttle : public ::testing::Test {
protected:
    LoginThrottle make(LoginThrottle::Options options = {}) {
        return LoginThrottle(options, [this] { return now; });
    }
    // One wrong password from `address`, waited out: the wait it was given.
    std::chrono::milliseconds fail(LoginThrottle& throttle, const std::string& address) {
        LoginThrottle::Admission admission = throttle.admit(address);
        EXPECT_FALSE(admission.refused) << address;
        throttle.failed(address, admission);
        return admission.delay;
    }

    LoginThrottle::TimePoint now = LoginThrottle::TimePoint() + 1000h;
};

TEST_F(Throttle, WaitsDoubleFromTheFourthAttemptAndTheTwentiethFailureLocksOut) {
    LoginThrottle throttle = make();
    std::vector<long long> delays;
    for (int attempt = 1; attempt <= 20; ++attempt) {
        LoginThrottle::Admission admission = throttle.admit("192.0.2.1");
        ASSERT_FALSE(admission.refused) << attempt;
        delays.push_back(admission.delay.count());
        LoginThrottle::Failure failure = throttle.failed("192.0.2.1", admission);
        EXPECT_EQ(failure.inARow, static_cast<unsigned>(attempt));
        EXPECT_EQ(failure.lockedOutNow, attempt == 20) << attempt;
    }
    EXPECT_EQ(delays, (std::vector<long long>{0,     0,     0,     1000,  2000,  4000,  8000,  16000, 32000, 60000,
                                              60000, 60000, 60000, 60000, 60000, 60000, 60000, 60000, 60000, 60000}));
    EXPECT_TRUE(throttle.lockedOut("192.0.2.1"));
    EXPECT_TRUE(throttle.admit("192.0.2.1").refused);
    // A login of the address that was under way counts, but the lockout is reported once.
    EXPECT_FALSE(throttle.failed("192.0.2.1", {}).lockedOutNow);
    EXPECT_FALSE(throttle.lockedOut("192.0.2.2"));
}

TEST_F(Throttle, TheLockoutEndsFifteenMinutesAfterTheLastFailureAndTheAddressStartsAfresh) {
    LoginThrottle throttle = make();
    for (int i = 0; i < 20; ++i)
        throttle.failed("192.0.2.1", throttle.admit("192.0.2.1"));
    now += 15min - 1ms;
    EXPECT_TRUE(throttle.lockedOut("192.0.2.1"));
    now += 1ms;
    EXPECT_FALSE(throttle.lockedOut("192.0.2.1"));
    EXPECT_EQ(fail(throttle, "192.0.2.1"), 0ms);
    EXPECT_EQ(throttle.failed("192.0.2.1", throttle.admit("192.0.2.1")).inARow, 2u);
}

TEST_F(Throttle, ASuccessForgetsTheAddressAndAddressesCountApart) {
    LoginThrottle throttle = make();
    for (int i = 0; i < 5; ++i)
        fail(throttle, "192.0.2.1");
    EXPECT_EQ(fail(throttle, "192.0.2.2"), 0ms); // another address is not slowed by the first
    LoginThrottle::Admission admission = throttle.admit("192.0.2.1");
    EXPECT_EQ(admission.delay, 4000ms);
    throttle.succeeded("192.0.2.1", admission);
    EXPECT_EQ(throttle.trackedAddresses(), 1u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fail(throttle, "192.0.2.1"), 0ms);
    EXPECT_EQ(fail(throttle, "192.0.2.1"), 1000ms);
}

TEST_F(Throttle, WhileOneLoginOfAnAddressWaitsAnotherIsRefusedAndCounted) {
    LoginThrottle throttle = make();
    for (int i = 0; i < 3; ++i)
        fail(throttle, "192.0.2.1");
    LoginThrottle::Admission waiting = throttle.admit("192.0.2.1");
    ASSERT_TRUE(waiting.holdsWait());
    LoginThrottle::Admission second = throttle.admit("192.0.2.1");
    EXPECT_TRUE(second.refused);
    EXPECT_FALSE(second.holdsWait());
    EXPECT_EQ(throttle.failed("192.0.2.1", second).inARow, 4u);
    EXPECT_TRUE(throttle.admit("192.0.2.1").refused); // the refusal did not take the waiting place away
    EXPECT_EQ(throttle.failed("192.0.2.1", waiting).inARow, 5u);

    // An aborted wait gives its place back without counting.
    LoginThrottle::Admission aborted = throttle.admit("192.0.2.1");
    EXPECT_EQ(aborted.delay, 4000ms);
    throttle.abandoned("192.0.2.1", aborted);
    EXPECT_EQ(throttle.admit("192.0.2.1").delay, 4000ms);
    // A place never given back (its session ended by an exception) frees itself when its wait is over.
    now += 4s;
    EXPECT_EQ(throttle.admit("192.0.2.1").delay, 4000ms);
}

TEST_F(Throttle, TheTableIsBoundedAndKeepsAnAddressWhoseLoginWaits) {
    LoginThrottle::Options options;
    options.freeFailures = 0;
    options.firstDelay = 10s;
    options.maxAddresses = 3;
    LoginThrottle throttle = make(options);
    fail(throttle, "10.0.0.1");
    LoginThrottle::Admission waiting = throttle.admit("10.0.0.1"); // the oldest, but its login waits
    ASSERT_TRUE(waiting.holdsWait());
    now += 1s;
    fail(throttle, "10.0.0.2");
    now += 1s;
    fail(throttle, "10.0.0.3");
    now += 1s;
    fail(throttle, "10.0.0.4"); // the table is full: 10.0.0.2 goes
    EXPECT_EQ(throttle.trackedAddresses(), 3u);
    EXPECT_EQ(throttle.failed("10.0.0.1", waiting).inARow, 2u);
    EXPECT_EQ(throttle.admit("10.0.0.2").delay, 0ms);
    EXPECT_EQ(throttle.admit("10.0.0.3").delay, 20s); // kept: its one failure counts

    // A flood from many addresses: the table never grows beyond its bound.
    for (int i = 0; i < 1000; ++i)
        fail(throttle, "10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250));
    EXPECT_EQ(throttle.trackedAddresses(), 3u);
}

} // namespace
