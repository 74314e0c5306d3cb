// kvsm remote ban, unban and bans, run as a program against kvagent --headless on loopback: the host's ban list file
// after each command, the local copies, and the exit statuses a script relies on.
#include "common/Files.h"
#include "manager/core/HostBanFile.h"
#include "tests/agent/HeadlessAgent.h"
#include "tests/cli/KvsmRun.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(KvsmBans, BanAndUnbanChangeTheHostsListInOneCommandEach) {
    HeadlessAgent agent;
    ASSERT_TRUE(agent.start()) << agent.error();
    TempDir dir;
    const std::string files = dir.file("files");
    const std::string password = dir.write("pw", agent.password() + "\n");
    auto kvsm = [&](std::vector<std::string> words) {
        std::vector<std::string> arguments{"remote"};
        arguments.insert(arguments.end(), words.begin(), words.end());
        for (const std::string& option : std::vector<std::string>{
                 "--host", agent.address(), "--user", agent.adminName(), "--password-file", password, "--dir", files})
            arguments.push_back(option);
        return runKvsm(dir, arguments);
    };
    const std::string hostFile = joinPath(agent.host().gameFolder(), "System/KVSMBanList.txt");

    KvsmResult r = kvsm({"ban", "ip", "192.0.2.7", "--player", "Moth", "--until", "2030-06-01"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = kvsm({"ban", "NAME", "Raven"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = kvsm({"ban", "NAME", "raven"}); // already there: nothing is sent
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Already banned: NAME raven\n");
    const std::string host = readFile(hostFile).value_or("?");
    EXPECT_EQ(host.substr(0, 24), "NAME,Raven,0,0,\"Raven\"\nI") << host;
    EXPECT_NE(host.find(",0,\"Moth\"\n"), std::string::npos) << host;
    r = kvsm({"bans"}); // as the manager shows it: the file's lines reversed
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "IP\t192.0.2.7\t2030-06-01\tMoth\nNAME\tRaven\tPermanent\tRaven\n");
    // The record: each list sent added only what it did not hold.
    const std::string moth = host.substr(host.find("IP,"));
    EXPECT_EQ(readFile(joinPath(files, "MasterBanList.txt")).value_or("?"), moth + "NAME,Raven,0,0,\"Raven\"\n");

    r = kvsm({"unban", "IP", "192.0.2.7"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(hostFile).value_or("?"), "NAME,Raven,0,0,\"Raven\"\n");
    r = kvsm({"unban", "IP", "192.0.2.7"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("has no IP entry 192.0.2.7"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(hostFile).value_or("?"), "NAME,Raven,0,0,\"Raven\"\n");
    EXPECT_TRUE(fileExists(joinPath(files, core::hostBanFileName(agent.address()) + ".old")));

    // Mistakes are usage errors, and nothing reaches the host.
    for (std::vector<std::string> wrong : {std::vector<std::string>{"ban", "GUID", "x"},
                                           {"ban", "NAME", "a,b"},
                                           {"ban", "IP", "192.0.2.8", "--until", "2040-01-01"},
                                           {"unban", "NAME", "Raven", "--player", "x"},
                                           {"bans", "--until", "2030-01-01"}}) {
        r = kvsm(wrong);
        EXPECT_EQ(r.status, 2) << wrong[0] << ' ' << wrong[1] << ": " << r.err;
    }
    EXPECT_EQ(readFile(hostFile).value_or("?"), "NAME,Raven,0,0,\"Raven\"\n");
}

} // namespace
} // namespace kv::test
