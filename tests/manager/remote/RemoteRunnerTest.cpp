// The runner that every remote window uses, against kvagent --headless on loopback through the library built here.
#include "manager/remote/RemoteRunner.h"
#include "manager/remote/RemoteBinding.h"

#include "common/Files.h"
#include "tests/agent/HeadlessAgent.h"
#include "tests/support/QtEvents.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <future>

using namespace std::chrono_literals;
using kv::remote::RemoteBinding;
using kv::remote::RemoteRunner;

namespace {

struct Status {
    std::string setup, state, map, description, adminPassword, playerPassword;
    std::uint32_t upTime = 0;
    int crashes = 0;
    std::int32_t ram = 0, peak = 0;
};

int getStatus(const kv::RemoteControlLibrary& lib, KvsmRemoteObject* object, Status& s) {
    return lib.getServerStatus(object, &s.setup, &s.state, &s.map, &s.description, &s.adminPassword, &s.playerPassword,
                               &s.upTime, &s.crashes, &s.ram, &s.peak);
}

class Runner : public ::testing::Test {
protected:
    void SetUp() override {
        kv::test::coreApp();
        ::setenv("XDG_DATA_HOME", client.path().c_str(), 1);
        ASSERT_TRUE(agent.start()) << agent.error();
        binding = RemoteBinding::bind(RemoteBinding::candidatePaths(KV_BIN_DIR), trustFile);
        ASSERT_TRUE(binding.available()) << binding.detail();
    }
    void TearDown() override { EXPECT_TRUE(RemoteRunner::waitForWorkers(20s)); }

    kv::remote::RemoteHost login(std::string password = "secret") const {
        return {agent.address(), agent.adminName(), std::move(password)};
    }

    kv::test::HeadlessAgent agent;
    kv::test::TempDir client;
    std::string trustFile = client.file("known_agents");
    RemoteBinding binding;
};

TEST_F(Runner, OneStatusCallComesBackOnTheWindowsThreadWithTheStatusLineAndPinsTheAgent) {
    QObject window;
    RemoteRunner runner(binding.library(), &window, nullptr);
    std::vector<QString> texts;
    QObject::connect(&runner, &RemoteRunner::statusText, &window, [&texts, &window](const QString& text) {
        EXPECT_EQ(QThread::currentThread(), window.thread());
        texts.push_back(text);
    });
    auto status = std::make_shared<Status>();
    std::optional<int> result;
    const Qt::HANDLE gui = QThread::currentThreadId();
    std::atomic<Qt::HANDLE> worker{nullptr};
    ASSERT_TRUE(runner.run(
        login(),
        [status, &worker](const kv::RemoteControlLibrary& lib, KvsmRemoteObject* object) {
            worker = QThread::currentThreadId();
            return getStatus(lib, object, *status);
        },
        [&](int r) {
            EXPECT_EQ(QThread::currentThreadId(), gui);
            result = r;
        }));
    ASSERT_TRUE(kv::test::spinEventsUntil([&] { return result.has_value(); }, 30s)) << agent.output();
    EXPECT_NE(*result, 0) << agent.output();
    EXPECT_NE(worker.load(), gui); // the call itself ran on a worker
    EXPECT_EQ(status->state, "Never Started");
    EXPECT_FALSE(texts.empty()); // the library wrote its progress into the status line
    // The first contact was recorded in the trust file that kvsm uses too.
    EXPECT_NE(kv::readFile(trustFile).value_or("").find(agent.address()), std::string::npos);

    // A refused login is a zero result, delivered the same way.
    result.reset();
    ASSERT_TRUE(runner.run(
        login("wrong"),
        [status](const kv::RemoteControlLibrary& lib, KvsmRemoteObject* o) { return getStatus(lib, o, *status); },
        [&](int r) { result = r; }, RemoteRunner::StatusLine::Skipped));
    ASSERT_TRUE(kv::test::spinEventsUntil([&] { return result.has_value(); }, 30s));
    EXPECT_EQ(*result, 0);
}

TEST_F(Runner, AWindowClosedWhileACallRunsGetsNothingAndTheWorkerEndsByItself) {
    auto* window = new QObject;
    auto* runner = new RemoteRunner(binding.library(), window); // the window's child
    bool delivered = false;
    int texts = 0;
    QObject::connect(runner, &RemoteRunner::statusText, window, [&texts](const QString&) { ++texts; });
    std::promise<void> windowClosed;
    std::shared_future<void> closed = windowClosed.get_future().share();
    std::atomic<int> callResult{-1};
    std::promise<void> callEntered;
    std::future<void> entered = callEntered.get_future();
    auto status = std::make_shared<Status>();
    ASSERT_TRUE(runner->run(
        login(),
        [closed, status, &callResult, &callEntered](const kv::RemoteControlLibrary& lib, KvsmRemoteObject* object) {
            callEntered.set_value();
            closed.wait(); // still in the call when the window goes
            const int r = getStatus(lib, object, *status);
            callResult = r;
            return r;
        },
        [&delivered](int) { delivered = true; }));
    EXPECT_EQ(RemoteRunner::runningWorkers(), 1);
    ASSERT_EQ(entered.wait_for(10s), std::future_status::ready);

    QElapsedTimer timer;
    timer.start();
    delete window; // takes the runner with it, and must not wait for the worker
    EXPECT_LT(timer.elapsed(), 1000);
    windowClosed.set_value();

    ASSERT_TRUE(RemoteRunner::waitForWorkers(30s));
    EXPECT_NE(callResult.load(), -1); // the call was made to its end...
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(delivered); // ...and nobody heard of it
    EXPECT_EQ(texts, 0);
}

TEST_F(Runner, WindowsClosedAtOnceAfterTheirClickHearNothing) {
    bool delivered = false;
    for (int i = 0; i < 20; ++i) {
        auto* window = new QObject;
        auto* runner = new RemoteRunner(binding.library(), window);
        ASSERT_TRUE(runner->run(
            login(), [](const kv::RemoteControlLibrary&, KvsmRemoteObject*) { return 1; },
            [&delivered](int) { delivered = true; }));
        delete window;
    }
    ASSERT_TRUE(RemoteRunner::waitForWorkers(30s));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(delivered);
}

TEST_F(Runner, ABoundedRunnerNeverRunsMoreCallsAtOnceThanItsBoundAndRunsThemAll) {
    QObject window;
    RemoteRunner runner(binding.library(), &window, 3);
    std::atomic<int> inside{0}, most{0}, entered{0};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<int> finished;
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(runner.run(
            login(),
            [&, released](const kv::RemoteControlLibrary&, KvsmRemoteObject*) {
                const int now = ++inside;
                for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
                }
                ++entered;
                released.wait(); // every call holds its place until the test has seen the pool full
                --inside;
                return 1;
            },
            [&finished, i](int) { finished.push_back(i); }, RemoteRunner::StatusLine::Skipped));
    ASSERT_TRUE(kv::test::waitUntil([&] { return entered == 3; }, 10s));
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10); // the GUI thread was never held
    EXPECT_EQ(entered.load(), 3);                                   // the others wait in the queue
    release.set_value();
    ASSERT_TRUE(kv::test::spinEventsUntil([&] { return finished.size() == 12; }, 30s));
    EXPECT_EQ(most.load(), 3);
    std::sort(finished.begin(), finished.end());
    EXPECT_EQ(std::adjacent_find(finished.begin(), finished.end()), finished.end()); // each call once
}

TEST_F(Runner, WithoutTheLibraryNothingRuns) {
    QObject window;
    RemoteRunner runner(nullptr, &window, nullptr);
    EXPECT_FALSE(runner.available());
    bool called = false;
    EXPECT_FALSE(runner.run(
        login(),
        [&called](const kv::RemoteControlLibrary&, KvsmRemoteObject*) {
            called = true;
            return 1;
        },
        [](int) {}));
    EXPECT_FALSE(called);
}

} // namespace
