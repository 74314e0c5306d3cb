// The status of several hosts at once against kvagent --headless on loopback, through the library built here.
#include "manager/remote/FleetStatus.h"
#include "manager/remote/RemoteBinding.h"
#include "manager/remote/RemoteRunner.h"

#include "tests/agent/HeadlessAgent.h"
#include "tests/support/FreePort.h"
#include "tests/support/QtEvents.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace std::chrono_literals;
using kv::remote::FleetStatus;
using kv::remote::HostStatus;
using kv::remote::RemoteBinding;
using kv::remote::RemoteRunner;

namespace {

std::string statusWord(const kv::RemoteControlLibrary& lib, const kv::test::HeadlessAgent& agent) {
    KvsmRemoteObject* o = lib.create(agent.address().c_str(), "admin", "secret");
    std::string setup, status, map, description, adminPassword, playerPassword;
    std::uint32_t up = 0;
    int crashes = 0;
    std::int32_t ram = 0, peak = 0;
    lib.getServerStatus(o, &setup, &status, &map, &description, &adminPassword, &playerPassword, &up, &crashes, &ram,
                        &peak);
    lib.destroy(o);
    return status;
}

class Fleet : public ::testing::Test {
protected:
    void SetUp() override {
        kv::test::coreApp();
        ::setenv("XDG_DATA_HOME", client.path().c_str(), 1);
        ASSERT_TRUE(running.host().simulator({{"KVSIM_PLAYERS", "3"}}));
        for (kv::test::HeadlessAgent* agent : {&running, &stopped, &guarded})
            ASSERT_TRUE(agent->start()) << agent->error();
        binding = RemoteBinding::bind(RemoteBinding::candidatePaths(KV_BIN_DIR), client.file("known_agents"));
        ASSERT_TRUE(binding.available()) << binding.detail();
    }
    void TearDown() override { EXPECT_TRUE(RemoteRunner::waitForWorkers(30s)); }

    std::vector<FleetStatus::Host> hosts() {
        return {
            {1, {running.address(), "admin", "secret"}, running.host().queryPort()},
            {2, {stopped.address(), "admin", "secret"}, kv::core::kStatusQueryPort},
            {3, {guarded.address(), "admin", "wrong"}, kv::core::kStatusQueryPort},
            {4,
             {"127.0.0.1:" + std::to_string(kv::test::freeTcpPort()), "admin", "secret"},
             kv::core::kStatusQueryPort}, // nobody listens
        };
    }

    kv::test::HeadlessAgent running{{.activeSetup = true}};
    kv::test::HeadlessAgent stopped;
    kv::test::HeadlessAgent guarded;
    kv::test::TempDir client;
    RemoteBinding binding;
};

TEST_F(Fleet, EveryHostGetsItsOwnResultOnTheOwnersThreadAndTheRefreshSaysWhenItEnded) {
    const auto lib = binding.library();
    KvsmRemoteObject* o = lib->create(running.address().c_str(), "admin", "secret");
    ASSERT_NE(lib->startServer(o), 0) << running.output();
    lib->destroy(o);
    ASSERT_TRUE(kv::test::waitUntil([&] { return statusWord(*lib, running) == "Running"; }, 30s)) << running.output();

    FleetStatus fleet(lib, {.workers = 2});
    std::map<FleetStatus::Key, HostStatus> seen;
    int ended = 0;
    const Qt::HANDLE owner = QThread::currentThreadId();
    QObject::connect(&fleet, &FleetStatus::hostChecked, [&](FleetStatus::Key key, const HostStatus& status) {
        EXPECT_EQ(QThread::currentThreadId(), owner);
        EXPECT_TRUE(seen.emplace(key, status).second) << "twice for host " << key;
    });
    QObject::connect(&fleet, &FleetStatus::refreshEnded, [&] {
        ++ended;
        EXPECT_EQ(seen.size(), 4u); // the end follows the last result
    });
    ASSERT_TRUE(fleet.refresh(hosts()));
    EXPECT_FALSE(fleet.refresh(hosts())); // one whole-list refresh at a time
    ASSERT_TRUE(kv::test::spinEventsUntil([&] { return ended > 0; }, 60s));
    ASSERT_EQ(seen.size(), 4u);

    EXPECT_EQ(seen[1].reach, HostStatus::Reach::Answered);
    EXPECT_EQ(seen[1].status, "Running");
    EXPECT_EQ(seen[1].setupName, "Duel");
    EXPECT_EQ(seen[1].players, 3); // from the game's own status query
    EXPECT_EQ(kv::remote::hostStatusText(seen[1]).rfind("Running: Duel, 3 players, up ", 0), 0u)
        << kv::remote::hostStatusText(seen[1]);
    EXPECT_EQ(seen[2].reach, HostStatus::Reach::Answered);
    EXPECT_EQ(seen[2].players, -1); // a stopped server is not queried
    EXPECT_EQ(kv::remote::hostStatusText(seen[2]), "No setup selected");
    EXPECT_EQ(kv::remote::hostStatusText(seen[3]), "Login refused");
    EXPECT_EQ(kv::remote::hostStatusText(seen[4]), "Not reachable");

    // One host again, outside of a refresh: only its own result, and no end of a refresh.
    seen.clear();
    ASSERT_TRUE(fleet.refreshHost({3, {guarded.address(), "admin", "secret"}, kv::core::kStatusQueryPort}));
    ASSERT_TRUE(kv::test::spinEventsUntil([&] { return !seen.empty(); }, 30s));
    EXPECT_EQ(kv::remote::hostStatusText(seen[3]), "No setup selected");
    EXPECT_EQ(ended, 1);
}

TEST_F(Fleet, AnOwnerGoneDuringARefreshHearsNothingAndTheWorkersEndByThemselves) {
    int heard = 0;
    for (int round = 0; round < 3; ++round) {
        auto* owner = new QObject;
        auto* fleet = new FleetStatus(binding.library(), {.workers = 2}, owner);
        QObject::connect(fleet, &FleetStatus::hostChecked, [&heard](FleetStatus::Key, const HostStatus&) { ++heard; });
        QObject::connect(fleet, &FleetStatus::refreshEnded, [&heard] { ++heard; });
        ASSERT_TRUE(fleet->refresh(hosts()));
        if (round == 1) { // some answers already queued, not yet delivered
            ASSERT_TRUE(kv::test::waitUntil([] { return RemoteRunner::runningWorkers() < 2; }, 30s));
        }
        delete owner;
    }
    // A fleet stopped from inside its own first delivery drops what is under way and queued as well.
    FleetStatus kept(binding.library(), {.workers = 1, .query = {}});
    int results = 0;
    QObject::connect(&kept, &FleetStatus::hostChecked, [&](FleetStatus::Key, const HostStatus&) {
        ++results;
        kept.stop();
    });
    QObject::connect(&kept, &FleetStatus::refreshEnded, [&heard] { ++heard; });
    ASSERT_TRUE(kept.refresh(hosts()));
    ASSERT_TRUE(kv::test::spinEventsUntil([&] { return results > 0; }, 30s));
    EXPECT_FALSE(kept.refreshing());

    ASSERT_TRUE(RemoteRunner::waitForWorkers(60s));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(results, 1);
}

} // namespace
