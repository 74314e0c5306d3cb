// The status query and the prober against a scripted UDP peer on loopback, and against the simulator's query port.
#include "manager/core/StatusQuery.h"
#include "manager/core/StatusProber.h"
#include "manager/core/StopSignal.h"
#include "tests/support/FreePort.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ScriptedStatusPeer.h"
#include "tests/support/SimGame.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace kv::core;
using namespace std::chrono_literals;
using Answer = kv::test::ScriptedStatusPeer::Answer;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kRequest("\\info\\\\status\\gamestats\\\\players\\\\", 34);
const std::string kFirst =
    "\\gamever\\1.0.2\\numplayers\\1\\maxplayers\\16\\current_round\\2/3\\hostname\\Alpha\\queryid\\1.1";
const std::string kSecond = "\\ping_0\\40\\player_0\\Raven\\final\\";
const StatusQueryTiming kFast{40, 10ms};

std::vector<Answer> fullReply() {
    return {{kFirst}, {kSecond}};
}

long long millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Runs the event loop until `done` or `timeout`.
bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!done() && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace

TEST(StatusQuery, ExactRequestAndAReplyInTwoDatagrams) {
    kv::test::ScriptedStatusPeer peer([](std::size_t, std::string_view) { return fullReply(); });
    ASSERT_NE(peer.port(), 0);
    const StatusQueryResult r = StatusQuery().run("127.0.0.1", peer.port());
    ASSERT_TRUE(r.answered) << r.error;
    EXPECT_EQ(r.datagrams, 2u);
    EXPECT_EQ(peer.received(), std::vector<std::string>{kRequest});
    EXPECT_EQ(r.status.value("HostName"), "Alpha");
    EXPECT_EQ(r.status.gamesPerMatch(), 3);
    ASSERT_EQ(r.status.players().size(), 1u);
    EXPECT_EQ(r.status.players()[0].value("Ping"), "40");
}

TEST(StatusQuery, RequestIsRepeatedOnceAfterSilenceAndSilenceFails) {
    kv::test::ScriptedStatusPeer late(
        [](std::size_t n, std::string_view) { return n == 1 ? fullReply() : std::vector<Answer>{}; });
    const StatusQueryResult answered = StatusQuery({40, 50ms}).run("localhost", late.port());
    EXPECT_TRUE(answered.answered) << answered.error;
    EXPECT_EQ(late.received(), (std::vector<std::string>{kRequest, kRequest}));

    kv::test::ScriptedStatusPeer silent([](std::size_t, std::string_view) { return std::vector<Answer>{}; });
    const auto start = Clock::now();
    const StatusQueryResult none = StatusQuery(kFast).run("127.0.0.1", silent.port());
    EXPECT_GE(millisecondsSince(start), 350); // 40 polls, 10 ms apart
    EXPECT_FALSE(none.answered);
    EXPECT_FALSE(none.stopped);
    EXPECT_EQ(silent.received().size(), 2u);
}

TEST(StatusQuery, StrangersAreIgnoredAndAnEmptyDatagramEndsTheReply) {
    kv::test::ScriptedStatusPeer peer([](std::size_t, std::string_view) {
        return std::vector<Answer>{{"\\hostname\\Impostor\\final\\", true}, {kFirst}, {""}, {kSecond}};
    });
    const auto start = Clock::now();
    const StatusQueryResult r = StatusQuery().run("127.0.0.1", peer.port());
    EXPECT_LT(millisecondsSince(start), 2000);
    ASSERT_TRUE(r.answered) << r.error;
    EXPECT_EQ(r.datagrams, 1u);
    EXPECT_EQ(r.status.value("HostName"), "Alpha");
    EXPECT_EQ(r.status.playerCount(), 1);
    EXPECT_TRUE(r.status.players().empty()); // the players' datagram came after the end
}

TEST(StatusQuery, StopEndsAQueryAtOnce) {
    kv::test::ScriptedStatusPeer silent([](std::size_t, std::string_view) { return std::vector<Answer>{}; });
    StopSignal stop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(100ms);
        stop.raise();
    });
    const auto start = Clock::now();
    const StatusQueryResult r = StatusQuery().run("127.0.0.1", silent.port(), &stop);
    stopper.join();
    EXPECT_LT(millisecondsSince(start), 1000);
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.answered);
}

TEST(StatusProber, ReportsEachQueryUntilStopped) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    std::atomic<bool> answering{true};
    kv::test::ScriptedStatusPeer peer(
        [&](std::size_t, std::string_view) { return answering ? fullReply() : std::vector<Answer>{}; });
    StatusProber prober("127.0.0.1", peer.port(), {kFast, 30ms});
    EXPECT_EQ(prober.report().summary, "Not Scanned Yet");
    EXPECT_EQ(prober.report().playerCount, -1);
    std::vector<StatusReport> reports;
    QObject::connect(&prober, &StatusProber::reportChanged, &app,
                     [&](const StatusReport& report) { reports.push_back(report); });
    prober.start();
    ASSERT_TRUE(spinUntil([&] { return reports.size() >= 2; }, 5s));
    EXPECT_TRUE(reports[1].answered);
    EXPECT_EQ(reports[1].playerCount, 1);
    EXPECT_EQ(reports[1].version, "1.0.2");
    EXPECT_EQ(reports[1].summary.rfind("Version: 1.0.2,  Current Map: \"\"\r\nGames Per Match: 3\r\n", 0), 0u);

    answering = false;
    ASSERT_TRUE(spinUntil([&] { return !reports.back().answered; }, 5s));
    EXPECT_EQ(prober.report().summary, "Not Available");
    EXPECT_EQ(prober.report().playerCount, 1); // the last answer's figures stay
    EXPECT_EQ(prober.report().version, "1.0.2");

    prober.stop();
    const std::size_t seen = reports.size();
    spinUntil([] { return false; }, 200ms);
    EXPECT_EQ(reports.size(), seen);
}

TEST(StatusProber, ClosingDuringAQueryNeverWaitsForTheNetwork) {
    kv::test::ScriptedStatusPeer silent([](std::size_t, std::string_view) { return std::vector<Answer>{}; });
    auto prober = std::make_unique<StatusProber>("127.0.0.1", silent.port());
    prober->start();
    const auto deadline = Clock::now() + 5s;
    while (silent.received().empty() && Clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(silent.received().size(), 1u);
    const auto start = Clock::now();
    prober.reset();
    EXPECT_LT(millisecondsSince(start), 150); // the stop signal, not the 200 ms bound, ended the worker
}

TEST(StatusQuery, TheSimulatorAnswers) {
    kv::test::TempDir dir;
    kv::test::SimGame game(dir.file("Korvane"), KV_BIN_DIR "/kvsim");
    std::string error;
    ASSERT_TRUE(game.create(&error)) << error;
    const int queryPort = kv::test::freeUdpPort();
    ASSERT_TRUE(game.writeSettings({{"KVSIM_ADMIN_PORT", std::to_string(kv::test::freeTcpPort())},
                                    {"KVSIM_QUERY_PORT", std::to_string(queryPort)},
                                    {"KVSIM_START_DELAY_MS", "100"},
                                    {"KVSIM_LINE_INTERVAL_MS", "0"}}));
    const std::string ini = kv::test::SimGame::writeIni(dir.file("Alpha.ini"), "Alpha Base", 16, 5);
    kv::test::ProgramRun run;
    ASSERT_TRUE(run.start({game.serverProgram(), "GLOBAL", "Harbor.kvo", "ini=" + ini}, {}, dir.path(), &error))
        << error;
    ASSERT_TRUE(run.waitForLine("Game engine initialized", 10s)) << run.output();

    const StatusQueryResult r = StatusQuery().run("127.0.0.1", queryPort);
    ASSERT_TRUE(r.answered) << r.error;
    EXPECT_EQ(r.datagrams, 2u);
    const ServerStatus& s = r.status;
    EXPECT_EQ(s.keys().size(), statusKeys().size()); // every key of the table, and nothing else
    EXPECT_EQ(s.value("HostName"), "Alpha Base");
    EXPECT_EQ(s.mapName(), "Harbor");
    EXPECT_EQ(s.gamesPerMatch(), 5);
    ASSERT_EQ(s.players().size(), 4u);
    for (const StatusPlayer& player : s.players())
        EXPECT_EQ(player.values.size(), 7u) << player.value("Name");
}
