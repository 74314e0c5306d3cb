// "Is the game already running": the scan of a process folder, over a fake one.
#include "manager/core/GameClientProcess.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace kv::core {
namespace {

class ProcFolder : public ::testing::Test {
protected:
    void process(const std::string& pid, const std::string& comm, const std::string& uidLine) const {
        proc.write(pid + "/comm", comm);
        proc.write(pid + "/status",
                   "Name:\t" + comm + "State:\tS (sleeping)\n" + uidLine + "Gid:\t100\t100\t100\t100\n");
    }
    test::TempDir proc;
};

TEST_F(ProcFolder, FindsTheGameClientOfTheUserOnly) {
    process("1", "systemd\n", "Uid:\t0\t0\t0\t0\n");
    process("200", "kvclient.bin\n", "Uid:\t4242\t4242\t4242\t4242\n");  // another user's game
    process("self", "kvclient.bin\n", "Uid:\t1000\t1000\t1000\t1000\n"); // not a process number
    process("300", "kvclient.bin.old\n", "Uid:\t1000\t1000\t1000\t1000\n");
    process("301", "kvclient.bin\n", "Uid:\tbroken\n");
    proc.write("302/comm", "kvclient.bin\n"); // vanished before its status was read
    EXPECT_FALSE(isProgramRunning(proc.path(), kGameClientProgram, 1000));
    EXPECT_TRUE(isProgramRunning(proc.path(), kGameClientProgram, 4242));

    process("4711", "kvclient.bin\n", "Uid:\t1000\t0\t0\t0\n"); // the real user counts
    EXPECT_TRUE(isProgramRunning(proc.path(), kGameClientProgram, 1000));
    EXPECT_FALSE(isProgramRunning(proc.path(), kGameClientProgram, 0));
    EXPECT_FALSE(isProgramRunning(proc.path() + "/missing", kGameClientProgram, 1000));
}

TEST(GameClientProcess, TheRealProcessFolderShowsThisTestButNoGame) {
    // This test's own program is found by its name; no game client runs here.
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
    EXPECT_TRUE(isProgramRunning("/proc", self.substr(0, 15), ::getuid())); // "comm" keeps 15 bytes
    EXPECT_FALSE(isGameClientRunning());
}

} // namespace
} // namespace kv::core
