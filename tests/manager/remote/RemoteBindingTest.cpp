// The manager's binding of libkvsm-remote-control.so, as built in this tree, and without it.
#include "manager/remote/RemoteBinding.h"

#include "common/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

using kv::remote::RemoteBinding;

namespace {

class Binding : public ::testing::Test {
protected:
    // The library's default trust file lies below XDG_DATA_HOME: never the user's own here.
    void SetUp() override { ::setenv("XDG_DATA_HOME", data.path().c_str(), 1); }
    kv::test::TempDir data;
    kv::test::TempDir install;
};

TEST_F(Binding, WithoutTheLibraryRemoteSupportIsOffAndTheWarningNamesTheProgramFolder) {
    const std::string bin = install.file("bin");
    ASSERT_TRUE(kv::makeDirectories(bin));
    const RemoteBinding binding = RemoteBinding::bind(RemoteBinding::candidatePaths(bin), {});
    EXPECT_FALSE(binding.available());
    EXPECT_EQ(binding.library(), nullptr);
    EXPECT_EQ(binding.path(), kv::joinPath(bin, KVSM_REMOTE_CONTROL_LIBRARY));
    EXPECT_EQ(binding.errorCode(), ENOENT);
}

TEST_F(Binding, NeverLooksInTheCurrentFolderOrTheSystemsFolders) {
    // A library planted in the current folder, and a relative program folder, which would resolve against it.
    const std::string planted = install.file(KVSM_REMOTE_CONTROL_LIBRARY);
    ASSERT_EQ(::symlink(KV_BIN_DIR "/" KVSM_REMOTE_CONTROL_LIBRARY, planted.c_str()), 0);
    char* previous = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(install.path().c_str()), 0);
    EXPECT_TRUE(RemoteBinding::candidatePaths(".").empty());
    EXPECT_TRUE(RemoteBinding::candidatePaths("").empty());
    EXPECT_FALSE(RemoteBinding::bind({KVSM_REMOTE_CONTROL_LIBRARY, std::string("./") + KVSM_REMOTE_CONTROL_LIBRARY}, {})
                     .available());
    ASSERT_EQ(::chdir(previous), 0);
    std::free(previous);
}

TEST_F(Binding, AFileThatIsNoLibraryIsRefusedWithTheReason) {
    const std::string bin = install.file("bin");
    install.write("bin/" KVSM_REMOTE_CONTROL_LIBRARY, "\x7f"
                                                      "ELF but not really\n");
    const RemoteBinding binding = RemoteBinding::bind(RemoteBinding::candidatePaths(bin), {});
    EXPECT_FALSE(binding.available());
    EXPECT_EQ(binding.errorCode(), ENOEXEC);
    EXPECT_NE(binding.detail().find("cannot load"), std::string::npos) << binding.detail();
}

TEST_F(Binding, TheBuiltLibraryBindsFromTheProgramFolderOrTheInstallsLibraryFolder) {
    const RemoteBinding beside = RemoteBinding::bind(RemoteBinding::candidatePaths(KV_BIN_DIR), {});
    ASSERT_TRUE(beside.available()) << beside.detail();
    EXPECT_EQ(beside.path(), KV_BIN_DIR "/" KVSM_REMOTE_CONTROL_LIBRARY);
    EXPECT_EQ(beside.errorCode(), 0);
    const auto library = beside.library();
    EXPECT_EQ(library->version(), KVSM_REMOTE_CONTROL_API_VERSION);
    for (const void* entry :
         {reinterpret_cast<const void*>(library->create), reinterpret_cast<const void*>(library->destroy),
          reinterpret_cast<const void*>(library->setStatusWindow),
          reinterpret_cast<const void*>(library->getServerStatus),
          reinterpret_cast<const void*>(library->retrievePunkbusterScreenshotFile),
          reinterpret_cast<const void*>(library->setTrustFile)})
        EXPECT_NE(entry, nullptr);

    // An installed manager: <prefix>/bin/kvmanager and <prefix>/lib/kv-server-manager/libkvsm-remote-control.so.
    const std::string bin = install.file("bin");
    const std::string lib = install.file("lib/kv-server-manager");
    ASSERT_TRUE(kv::makeDirectories(bin) && kv::makeDirectories(lib));
    ASSERT_EQ(
        ::symlink(KV_BIN_DIR "/" KVSM_REMOTE_CONTROL_LIBRARY, kv::joinPath(lib, KVSM_REMOTE_CONTROL_LIBRARY).c_str()),
        0);
    const RemoteBinding installed = RemoteBinding::bind(RemoteBinding::candidatePaths(bin), data.file("known"));
    ASSERT_TRUE(installed.available()) << installed.detail();
    EXPECT_EQ(installed.path(), kv::joinPath(lib, KVSM_REMOTE_CONTROL_LIBRARY));
}

} // namespace
