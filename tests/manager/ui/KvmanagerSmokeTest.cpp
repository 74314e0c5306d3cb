// The real kvmanager: its command line, and a start on a virtual X server that shows the library and saves a picture
// of the main window.
#include "common/Files.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace kv;
using namespace std::chrono_literals;

namespace {

const std::string kProgram = std::string(KV_BIN_DIR) + "/kvmanager";

std::string onPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string folder = rest.substr(0, colon);
        rest = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
        const std::string candidate = joinPath(folder.empty() ? "." : folder, name);
        if (fileExists(candidate))
            return candidate;
    }
    return {};
}

unsigned bigEndian32(const std::string& bytes, std::size_t at) {
    unsigned value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

TEST(KvmanagerProgram, VersionHelpAndRefusedOptions) {
    test::ProgramRun version;
    ASSERT_TRUE(version.start({kProgram, "--version"}));
    EXPECT_EQ(version.waitForExit(30s), 0);
    EXPECT_TRUE(version.hasLine("kvmanager " KV_MANAGER_VERSION_TEXT)) << version.output();

    test::ProgramRun help;
    ASSERT_TRUE(help.start({kProgram, "--help"}));
    EXPECT_EQ(help.waitForExit(30s), 0);
    EXPECT_TRUE(help.hasLine("--workdir DIR")) << help.output();
    EXPECT_TRUE(help.hasLine("--screenshot FILE")) << help.output();

    test::ProgramRun wrong;
    ASSERT_TRUE(wrong.start({kProgram, "--workdir"}));
    EXPECT_EQ(wrong.waitForExit(30s), 2);
    EXPECT_TRUE(wrong.hasLine("--workdir needs a value")) << wrong.output();

    // Without any display the program says so instead of aborting inside Qt.
    test::TempDir dir;
    test::ProgramRun headless;
    ASSERT_TRUE(headless.start({kProgram, "--workdir", dir.file("work")},
                               {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}));
    EXPECT_EQ(headless.waitForExit(30s), 1);
    EXPECT_TRUE(headless.hasLine("kvmanager: no display (neither DISPLAY nor WAYLAND_DISPLAY is set). Run it on your "
                                 "desktop, or use kvsm for the setup library from a terminal."))
        << headless.output();
}

TEST(KvmanagerProgram, ShowsTheLibraryOnAnXServerAndSavesAScreenshot) {
    const std::string xvfb = onPath("xvfb-run");
    if (xvfb.empty())
        GTEST_SKIP() << "xvfb-run is not installed (./kv deps installs it); the real window cannot be shown";
    test::TempDir dir;
    dir.write("work/Server Setups/Harbor Night.ServerConfig", "m_csName=Harbor Night\r\nm_csMapName=Harbor\r\n");
    dir.write("work/Server Setups/Cup.ServerConfig",
              "m_csName=Cup\r\nm_fTournamentModeEnabled=1\r\nm_iMaxTeamSize=6\r\n");
    const std::string shot = dir.file("shot.png");
    test::ProgramRun run;
    ASSERT_TRUE(run.start(
        {xvfb, "-a", "-s", "-screen 0 1280x1024x24", kProgram, "--workdir", dir.file("work"), "--screenshot", shot},
        {{"HOME", dir.path()},
         {"XDG_CONFIG_HOME", dir.file("config")},
         {"XDG_DATA_HOME", dir.file("data")},
         {"XDG_RUNTIME_DIR", dir.path()},
         {"QT_QPA_PLATFORM", "xcb"},
         // The X keyboard library hands strndup counted strings without a terminator, which the
         // strict string checks take for an overflow; its X connection is never freed either.
         {"ASAN_OPTIONS", "detect_leaks=0:strict_string_checks=0"}}));
    ASSERT_EQ(run.waitForExit(120s), 0) << run.output();

    const auto png = readFile(shot);
    ASSERT_TRUE(png.has_value()) << run.output();
    ASSERT_GT(png->size(), 2000u);
    ASSERT_EQ(png->substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    ASSERT_EQ(png->substr(12, 4), "IHDR");
    const unsigned width = bigEndian32(*png, 16);
    const unsigned height = bigEndian32(*png, 20);
    EXPECT_GE(width, 400u);
    EXPECT_LE(width, 1280u);
    EXPECT_GE(height, 300u);
    EXPECT_LE(height, 1024u);
    // The program made its working folder ready: the shipped data is there and the library was read, not changed.
    EXPECT_TRUE(fileExists(dir.file("work/ConfigurationTemplate.ini")));
    EXPECT_TRUE(fileExists(dir.file("work/Server Setups/Cup.ServerConfig")));
}
