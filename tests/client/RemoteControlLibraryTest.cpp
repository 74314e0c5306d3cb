// Loads libkvsm-remote-control.so as the manager and kvsm do, and drives it through its exports only.
#include "client/RemoteControlApi.h"
#include "tests/client/FakeAgent.h"
#include "tests/support/TempDir.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(KV_BIN_DIR "/" KVSM_REMOTE_CONTROL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    template <typename Fn> Fn bind(const char* name) { return reinterpret_cast<Fn>(dlsym(handle, name)); }

    void* handle = nullptr;
};

TEST_F(LibraryTest, ExportsEveryFunctionByNameAndNothingElse) {
    auto version = bind<KvsmRemoteControlApiVersionFn>("KvsmRemoteControlApiVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), KVSM_REMOTE_CONTROL_API_VERSION);
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
                             "RetrievePunkbusterScreenshotFile"})
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
