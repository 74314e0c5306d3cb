// Where an installed program finds its companions: beside itself first (a build tree), then below its prefix; never
// relative to the current folder.
#include "manager/core/ManagerFolders.h"

#include "common/Files.h"
#include "common/InstallLayout.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace kv;

namespace {

// <prefix>/bin, with the files the package installs below <prefix>.
class InstalledLayout : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("KV_DATA_DIR");
        ::unsetenv("KV_HELP_DIR");
        ASSERT_TRUE(makeDirectories(bin));
    }

    kv::test::TempDir prefix;
    const std::string bin = prefix.file("bin");
};

TEST_F(InstalledLayout, CompanionsComeFromTheProgramsFolderThenTheInstalledLibraryFolder) {
    EXPECT_EQ(installedLibraryFolder(bin), prefix.file("lib/kv-server-manager"));
    EXPECT_EQ(installedLibraryFolder(bin + "/"), prefix.file("lib/kv-server-manager"));
    EXPECT_EQ(installedDataFolder("/usr/bin"), "/usr/share/kv-server-manager");
    EXPECT_EQ(installedHelpFolder("/usr/bin"), "/usr/share/doc/kv-server-manager/help");
    EXPECT_EQ(installedLibraryFolder("/bin"), "/lib/kv-server-manager");

    const std::vector<std::string> candidates = companionCandidates(bin, "kvagent-ui.so");
    ASSERT_EQ(candidates, (std::vector<std::string>{prefix.file("bin/kvagent-ui.so"),
                                                    prefix.file("lib/kv-server-manager/kvagent-ui.so")}));
    EXPECT_EQ(firstExistingFile(candidates), "");
    prefix.write("lib/kv-server-manager/kvagent-ui.so", "installed");
    EXPECT_EQ(firstExistingFile(candidates), candidates[1]);
    prefix.write("bin/kvagent-ui.so", "built");
    EXPECT_EQ(firstExistingFile(candidates), candidates[0]);
}

TEST_F(InstalledLayout, ARelativeProgramFolderFindsNothingInTheCurrentFolder) {
    prefix.write("bin/kvagent-ui.so", "planted");
    prefix.write("share/kv-server-manager/ConfigurationTemplate.ini", "planted");
    char* previous = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(prefix.path().c_str()), 0);
    for (const char* folder : {"", ".", "bin", "./bin"}) {
        EXPECT_TRUE(companionCandidates(folder, "kvagent-ui.so").empty()) << folder;
        EXPECT_EQ(installedLibraryFolder(folder), "") << folder;
        EXPECT_NE(core::shippedDataFolder(folder), prefix.file("share/kv-server-manager")) << folder;
    }
    EXPECT_EQ(firstExistingFile({"bin/kvagent-ui.so", "./bin/kvagent-ui.so"}), "");
    ASSERT_EQ(::chdir(previous), 0);
    std::free(previous);
}

TEST_F(InstalledLayout, ShippedDataAndHelpComeFromTheEnvironmentThenThePrefixThenTheSourceTree) {
    // Without an installed copy, a build tree's program uses the source tree's data and help.
    const std::string sourceData = core::shippedDataFolder(bin);
    const std::string sourceHelp = core::helpFolder(bin);
    EXPECT_TRUE(fileExists(joinPath(sourceData, "ConfigurationTemplate.ini"))) << sourceData;
    EXPECT_TRUE(fileExists(joinPath(sourceHelp, "GettingStarted.html"))) << sourceHelp;

    prefix.write("bin/data/ConfigurationTemplate.ini", "beside");
    EXPECT_EQ(core::shippedDataFolder(bin), prefix.file("bin/data"));
    prefix.write("share/kv-server-manager/ConfigurationTemplate.ini", "installed");
    prefix.write("share/doc/kv-server-manager/help/GettingStarted.html", "installed");
    EXPECT_EQ(core::shippedDataFolder(bin), prefix.file("share/kv-server-manager"));
    EXPECT_EQ(core::helpFolder(bin), prefix.file("share/doc/kv-server-manager/help"));

    // A folder without the files that prove it is ours is passed over.
    ::setenv("KV_DATA_DIR", prefix.file("lib").c_str(), 1);
    ::setenv("KV_HELP_DIR", prefix.file("lib").c_str(), 1);
    EXPECT_EQ(core::shippedDataFolder(bin), prefix.file("share/kv-server-manager"));
    EXPECT_EQ(core::helpFolder(bin), prefix.file("share/doc/kv-server-manager/help"));
    ::setenv("KV_DATA_DIR", sourceData.c_str(), 1);
    ::setenv("KV_HELP_DIR", sourceHelp.c_str(), 1);
    EXPECT_EQ(core::shippedDataFolder(bin), sourceData);
    EXPECT_EQ(core::helpFolder(bin), sourceHelp);
    ::unsetenv("KV_DATA_DIR");
    ::unsetenv("KV_HELP_DIR");
}

} // namespace
