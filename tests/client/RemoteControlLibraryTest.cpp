// Loads libkvsm-remote-control.so as the manager and kvsm do, and drives it through its exports only.
#include "client/RemoteControlApi.h"
#include "common/Files.h"
#include "tests/client/FakeAgent.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestIdentity.h"

#include <cstdlib>
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class LibraryTest : public ::testing::Test {
protected:
    // The library's default trust file lies below XDG_DATA_HOME: a temporary folder here, never the user's own.
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        handle = dlopen(KV_BIN_DIR "/" KVSM_REMOTE_CONTROL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        auto setTrustFile = bind<SetTrustFileFn>("SetTrustFile");
        ASSERT_NE(setTrustFile, nullptr);
        ASSERT_EQ(setTrustFile(nullptr, KVSM_TRUST_ON_FIRST_USE), 1); // the settings outlive each test
    }
    template <typename Fn> Fn bind(const char* name) { return reinterpret_cast<Fn>(dlsym(handle, name)); }

    kv::test::TempDir data;
    void* handle = nullptr;
};

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

TEST_F(LibraryTest, ExportsEveryFunctionByNameAndNothingElse) {
    auto version = bind<KvsmRemoteControlApiVersionFn>("KvsmRemoteControlApiVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), KVSM_REMOTE_CONTROL_API_VERSION);
    EXPECT_EQ(version(), 2);
    for (const char* name : {"CreateRemoteControlObject",
                             "DestroyRemoteControlObject",
                             "SetStatusWindow",
                             "StartServer",
                             "StopServer",
                             "GetServerStatus",
                             "StartMonitor",
                             "UploadConfiguration",
                             "UploadServerSetup",
                             "DownloadServerSetup",
                             "RetrieveServerSetupList",
                             "DeleteConfiguration",
                             "ActivateConfiguration",
                             "GetRestartTime",
                             "SetRestartTime",
                             "UploadBanList",
                             "DownloadBanList",
                             "RetrievePunkbusterConfigFileList",
                             "UploadPBConfig",
                             "DownloadPBConfig",
                             "RetrievePunkbusterScreenshotFileList",
                             "RetrievePunkbusterScreenshotFile",
                             "SetTrustFile",
                             "CheckAgentIdentity",
                             "GetAgentIdentity"})
        EXPECT_NE(dlsym(handle, name), nullptr) << name;
    // Internals stay hidden.
    EXPECT_EQ(dlsym(handle, "_ZN2kv14InitSslContextENS_7SslRoleERKNS_11KeyMaterialE"), nullptr);
}

TEST_F(LibraryTest, AnObjectMadeByTheLibraryTalksToAnAgent) {
    kv::test::FakeAgent agent;
    {
        std::lock_guard lock(agent.mutex());
        agent.restartReply = "180\n";
        agent.configurationList = {"CTF,Harbor,LAN,1"};
    }
    auto create = bind<CreateRemoteControlObjectFn>("CreateRemoteControlObject");
    auto destroy = bind<DestroyRemoteControlObjectFn>("DestroyRemoteControlObject");
    auto getRestart = bind<GetRestartTimeFn>("GetRestartTime");
    auto list = bind<RetrieveServerSetupListFn>("RetrieveServerSetupList");
    auto start = bind<StartServerFn>("StartServer");
    ASSERT_TRUE(create && destroy && getRestart && list && start);

    KvsmRemoteObject* object = create(agent.address().c_str(), "admin", "secret");
    ASSERT_NE(object, nullptr);
    std::string time;
    EXPECT_EQ(getRestart(object, &time), 1);
    EXPECT_EQ(time, "180");
    KvsmTextList records;
    EXPECT_EQ(list(object, &records), 1);
    EXPECT_EQ(records, KvsmTextList{"CTF,Harbor,LAN,1"});
    EXPECT_EQ(getRestart(object, nullptr), 0);
    destroy(object);

    // A null object fails every call instead of crashing.
    EXPECT_EQ(start(nullptr), 0);
    destroy(nullptr);

    // A caller that never names a trust file gets the default one, made private, and trust on first use.
    const std::string folder = data.file("KV Server Manager");
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(folder + "/known_agents"), 0600u);
    EXPECT_THAT(kv::readFile(folder + "/known_agents").value_or(""),
                testing::HasSubstr(agent.address() + " " + kv::test::testAgentIdentity().fingerprint + " "));
}

TEST_F(LibraryTest, TheTrustExportsCheckWithoutRecordingAndRefuseUnderKnownOnly) {
    kv::test::FakeAgent agent;
    auto setTrustFile = bind<SetTrustFileFn>("SetTrustFile");
    auto create = bind<CreateRemoteControlObjectFn>("CreateRemoteControlObject");
    auto destroy = bind<DestroyRemoteControlObjectFn>("DestroyRemoteControlObject");
    auto check = bind<CheckAgentIdentityFn>("CheckAgentIdentity");
    auto identity = bind<GetAgentIdentityFn>("GetAgentIdentity");
    auto start = bind<StartServerFn>("StartServer");
    ASSERT_TRUE(setTrustFile && create && destroy && check && identity && start);
    const std::string trustFile = data.file("elsewhere/agents");
    EXPECT_EQ(setTrustFile(trustFile.c_str(), 7), 0);
    ASSERT_EQ(setTrustFile(trustFile.c_str(), KVSM_TRUST_KNOWN_ONLY), 1);

    KvsmRemoteObject* object = create(agent.address().c_str(), "admin", "secret");
    int trust = -1;
    std::string presented = "?", recorded = "?";
    EXPECT_EQ(identity(object, &trust, &presented, &recorded), 0);
    EXPECT_EQ(trust, KVSM_AGENT_NO_CONTACT);

    EXPECT_EQ(check(object), 1);
    EXPECT_EQ(identity(object, &trust, &presented, &recorded), 1);
    EXPECT_EQ(trust, KVSM_AGENT_UNKNOWN);
    EXPECT_EQ(presented, kv::test::testAgentIdentity().fingerprint);
    EXPECT_EQ(recorded, "");

    EXPECT_EQ(start(object), 0);
    EXPECT_EQ(identity(object, &trust, nullptr, nullptr), 1);
    EXPECT_EQ(trust, KVSM_AGENT_UNKNOWN);
    EXPECT_FALSE(kv::fileExists(trustFile));
    ASSERT_TRUE(agent.waitForSessions(2));
    {
        std::lock_guard lock(agent.mutex());
        EXPECT_EQ(agent.logins, 0);
    }
    destroy(object);
    EXPECT_EQ(check(nullptr), 0);
    EXPECT_EQ(identity(nullptr, &trust, nullptr, nullptr), 0);
}

TEST_F(LibraryTest, AnAgentThatIsDownGivesZero) {
    auto create = bind<CreateRemoteControlObjectFn>("CreateRemoteControlObject");
    auto start = bind<StartServerFn>("StartServer");
    auto destroy = bind<DestroyRemoteControlObjectFn>("DestroyRemoteControlObject");
    KvsmRemoteObject* object = create("no-such-host.invalid", "admin", "secret");
    EXPECT_EQ(start(object), 0);
    destroy(object);
}

} // namespace
