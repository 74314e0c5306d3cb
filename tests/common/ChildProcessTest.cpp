#include "common/ChildProcess.h"
#include "common/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace kv;
using namespace std::chrono_literals;

namespace {

ProcessOptions shell(const std::string& script) {
    ProcessOptions options;
    options.arguments = {"/bin/sh", "-c", script};
    return options;
}

// Everything the pipe delivers until its end, or until `timeout` passes.
std::string readAll(int fd, std::chrono::milliseconds timeout = 10s) {
    std::string text;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        char buffer[4096];
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

// The first line of output, e.g. a process id that the script printed.
std::string readLine(int fd) {
    std::string line;
    char c;
    while (::read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

bool processGone(pid_t pid) {
    if (::kill(pid, 0) != 0)
        return errno == ESRCH;
    // A zombie waiting for a reaper that is not ours counts as gone.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    auto close = text.rfind(')');
    return close != std::string::npos && text.compare(close + 1, 3, " Z ") == 0;
}

bool waitGone(pid_t pid, std::chrono::milliseconds timeout = 5s) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!processGone(pid)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

} // namespace

TEST(ChildProcess, MergedErrorKeepsTheOrderOfPrinting) {
    ChildProcess child;
    ASSERT_TRUE(child.start(shell("echo one; echo two >&2; echo three")));
    EXPECT_EQ(readAll(child.outputFd()), "one\ntwo\nthree\n");
    EXPECT_EQ(child.waitFor(5s), 0);
    EXPECT_EQ(child.errorFd(), -1);
}

TEST(ChildProcess, SeparateErrorPipeWhenNotMerged) {
    ChildProcess child;
    ProcessOptions options = shell("echo out; echo err >&2");
    options.mergeErrorIntoOutput = false;
    ASSERT_TRUE(child.start(options));
    ASSERT_GE(child.errorFd(), 0);
    EXPECT_EQ(readAll(child.outputFd()), "out\n");
    EXPECT_EQ(readAll(child.errorFd()), "err\n");
    EXPECT_EQ(child.waitFor(5s), 0);
}

TEST(ChildProcess, InputReachesTheProgramAndClosingItEndsIt) {
    ChildProcess child;
    ProcessOptions options;
    options.arguments = {"/bin/cat"};
    ASSERT_TRUE(child.start(options));
    ASSERT_EQ(::write(child.inputFd(), "hello\n", 6), 6);
    child.closeInput();
    EXPECT_EQ(child.inputFd(), -1);
    EXPECT_EQ(readAll(child.outputFd()), "hello\n");
    EXPECT_EQ(child.waitFor(5s), 0);
}

TEST(ChildProcess, ReportsExitCodesAndSignals) {
    ChildProcess exits;
    ASSERT_TRUE(exits.start(shell("exit 7")));
    EXPECT_EQ(exits.waitFor(5s), 7);
    EXPECT_FALSE(exits.endedBySignal());
    EXPECT_FALSE(exits.running());
    EXPECT_FALSE(exits.signalGroup(SIGTERM)) << "an ended program cannot be signalled";

    ChildProcess killsItself;
    ASSERT_TRUE(killsItself.start(shell("kill -TERM $$; sleep 5")));
    EXPECT_EQ(killsItself.waitFor(5s), 128 + SIGTERM);
    EXPECT_TRUE(killsItself.endedBySignal());

    ChildProcess sleeper;
    ASSERT_TRUE(sleeper.start(shell("exec sleep 30")));
    EXPECT_TRUE(sleeper.running());
    EXPECT_FALSE(sleeper.poll().has_value());
    EXPECT_FALSE(sleeper.waitFor(50ms).has_value());
    sleeper.kill();
    EXPECT_EQ(sleeper.waitFor(5s), 128 + SIGKILL);
    EXPECT_EQ(sleeper.poll(), 128 + SIGKILL) << "the status stays once known";
}

TEST(ChildProcess, StartFailuresSayWhy) {
    ChildProcess missing;
    std::string error;
    EXPECT_FALSE(missing.start({{"/nonexistent/server.bin"}, "", {}, true}, &error));
    EXPECT_EQ(error, "Cannot start /nonexistent/server.bin: No such file or directory");
    EXPECT_FALSE(missing.started());

    char folder[] = "/tmp/kvchildXXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    std::string notExecutable = std::string(folder) + "/plain.txt";
    { std::ofstream(notExecutable) << "#!/bin/sh\n"; }
    ChildProcess denied;
    EXPECT_FALSE(denied.start({{notExecutable}, "", {}, true}, &error));
    EXPECT_EQ(error, "Cannot start " + notExecutable + ": Permission denied");

    ChildProcess badFolder;
    EXPECT_FALSE(badFolder.start({{"/bin/true"}, "/nonexistent/folder", {}, true}, &error));
    EXPECT_NE(error.find("/nonexistent/folder"), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    ChildProcess empty;
    EXPECT_FALSE(empty.start({}, &error));
    EXPECT_FALSE(error.empty());
    removeFile(notExecutable);
    ::rmdir(folder);
}

TEST(ChildProcess, WorkingFolderAndEnvironment) {
    char folder[] = "/tmp/kvchildXXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    ::setenv("KV_CHILD_TEST_REPLACED", "old", 1);
    ChildProcess child;
    ProcessOptions options = shell("pwd; echo \"$KV_CHILD_TEST_ADDED $KV_CHILD_TEST_REPLACED\"; "
                                   "env | grep -c '^KV_CHILD_TEST_REPLACED='");
    options.workingDirectory = folder;
    options.environment = {{"KV_CHILD_TEST_ADDED", "added value"}, {"KV_CHILD_TEST_REPLACED", "new"}};
    ASSERT_TRUE(child.start(options));
    EXPECT_EQ(readAll(child.outputFd()), std::string(folder) + "\nadded value new\n1\n");
    EXPECT_EQ(child.waitFor(5s), 0);
    ::unsetenv("KV_CHILD_TEST_REPLACED");
    ::rmdir(folder);
}

TEST(ChildProcess, RunsInItsOwnGroupWithDefaultSignalsAndNoLeakedDescriptors) {
    auto* previous = std::signal(SIGPIPE, SIG_IGN);
    int inheritable = ::open("/dev/null", O_RDONLY); // deliberately without O_CLOEXEC
    ChildProcess child;
    ASSERT_TRUE(child.start(shell("ps -o pgid= -p $$; grep SigIgn /proc/self/status; ls /proc/self/fd | wc -l")));
    std::string text = readAll(child.outputFd());
    std::signal(SIGPIPE, previous);
    ::close(inheritable);
    EXPECT_EQ(child.waitFor(5s), 0);
    EXPECT_EQ(std::stoi(text), child.pid()) << text;
    EXPECT_NE(text.find("SigIgn:\t0000000000000000"), std::string::npos) << text;
    // ls itself sees 0, 1, 2 and its own folder descriptor.
    EXPECT_NE(text.find("\n4\n"), std::string::npos) << text;
}

TEST(ChildProcess, TerminateReachesTheWholeGroup) {
    ChildProcess child;
    ASSERT_TRUE(child.start(shell("sleep 300 & echo $!; wait")));
    pid_t grandchild = std::stoi(readLine(child.outputFd()));
    ASSERT_GT(grandchild, 0);
    EXPECT_FALSE(processGone(grandchild));
    child.terminate();
    EXPECT_TRUE(child.waitFor(5s).has_value());
    EXPECT_TRUE(waitGone(grandchild));
}

TEST(ChildProcess, DestructorLeavesNoProcessBehind) {
    pid_t pid = -1;
    pid_t grandchild = -1;
    {
        ChildProcess child;
        ASSERT_TRUE(child.start(shell("trap '' TERM; sleep 300 & echo $!; wait")));
        pid = child.pid();
        grandchild = std::stoi(readLine(child.outputFd()));
    }
    EXPECT_TRUE(processGone(pid));
    EXPECT_TRUE(waitGone(grandchild));

    // A leader that ended on its own still takes what it left in its group with it.
    {
        ChildProcess child;
        ASSERT_TRUE(child.start(shell("sleep 300 >/dev/null & echo $!")));
        grandchild = std::stoi(readLine(child.outputFd()));
        ASSERT_TRUE(child.waitFor(5s).has_value());
        EXPECT_FALSE(processGone(grandchild));
    }
    EXPECT_TRUE(waitGone(grandchild));
}

TEST(ChildProcess, ChildReapedBySomeoneElseCountsAsEnded) {
    auto* previous = std::signal(SIGCHLD, SIG_IGN); // the kernel reaps our children at once
    {
        ChildProcess child;
        ASSERT_TRUE(child.start(shell("exit 0")));
        EXPECT_EQ(child.waitFor(5s), -1) << "ended, with an unknown status";
        EXPECT_FALSE(child.signalGroup(SIGTERM));
    } // must neither hang nor signal a stranger
    std::signal(SIGCHLD, previous);
}
