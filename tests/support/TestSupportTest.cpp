#include "common/Files.h"
#include "tests/support/FreePort.h"
#include "tests/support/Processes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace kv::test;
using namespace std::chrono_literals;

namespace {
bool bindsOnLoopback(int type, int port) {
    int fd = ::socket(AF_INET, type, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}
} // namespace

TEST(TestSupport, FreePortsCanBeBound) {
    int tcp = freeTcpPort();
    int udp = freeUdpPort();
    int both = freeTcpAndUdpPort();
    ASSERT_GT(tcp, 0);
    ASSERT_GT(udp, 0);
    ASSERT_GT(both, 0);
    EXPECT_TRUE(bindsOnLoopback(SOCK_STREAM, tcp));
    EXPECT_TRUE(bindsOnLoopback(SOCK_DGRAM, udp));
    EXPECT_TRUE(bindsOnLoopback(SOCK_STREAM, both) && bindsOnLoopback(SOCK_DGRAM, both));
}

TEST(TestSupport, TempDirIsFreshAndRemovedWithItsContents) {
    std::string path;
    {
        TempDir a;
        TempDir b;
        ASSERT_FALSE(a.path().empty());
        EXPECT_NE(a.path(), b.path());
        EXPECT_TRUE(kv::listDirectory(a.path()).empty());
        std::string file = a.write("deep/er/file.txt", "text");
        EXPECT_EQ(file, a.file("deep/er/file.txt"));
        EXPECT_EQ(kv::readFile(file), "text");
        path = a.path();
    }
    EXPECT_FALSE(kv::directoryExists(path));
}

TEST(TestSupport, ProgramRunFollowsLinesInOrder) {
    ProgramRun run;
    ASSERT_TRUE(run.start({"/bin/sh", "-c", "echo ready; echo 'step one\r'; sleep 0.2; echo step two >&2; "
                                            "printf partial; exit 3"}));
    EXPECT_EQ(run.waitForLine("step", 5s), "step one");
    EXPECT_EQ(run.waitForLine("step", 5s), "step two");
    EXPECT_FALSE(run.waitForLine("ready", 5s)) << "earlier lines are behind the position";
    EXPECT_TRUE(run.hasLine("ready"));
    EXPECT_EQ(run.waitForExit(5s), 3);
    EXPECT_TRUE(run.outputEnded());
    EXPECT_EQ(run.pendingText(), "partial");
    EXPECT_EQ(run.lineCount(), 3u);
}

TEST(TestSupport, ProgramRunGivesUpAfterTheTimeoutAndKillsOnDestruction) {
    pid_t pid;
    {
        ProgramRun run;
        ASSERT_TRUE(run.start({"/bin/sleep", "30"}));
        pid = run.process().pid();
        auto begin = std::chrono::steady_clock::now();
        EXPECT_FALSE(run.waitForLine("never", 200ms));
        EXPECT_GE(std::chrono::steady_clock::now() - begin, 200ms);
        EXPECT_FALSE(run.waitForExit(50ms));
    }
    EXPECT_TRUE(processGone(pid));
    EXPECT_FALSE(processGone(::getpid()));

    std::string error;
    ProgramRun missing;
    EXPECT_FALSE(missing.start({"/nonexistent/prog"}, {}, {}, &error));
    EXPECT_NE(error.find("No such file"), std::string::npos);
}

TEST(TestSupport, WaitUntilReturnsAsSoonAsTrue) {
    int calls = 0;
    EXPECT_TRUE(waitUntil([&] { return ++calls == 3; }, 5s, 1ms));
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(waitUntil([] { return false; }, 30ms));
}
