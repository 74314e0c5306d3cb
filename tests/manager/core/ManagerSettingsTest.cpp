#include "manager/core/ManagerSettings.h"
#include "common/Files.h"
#include "manager/core/GameInstallation.h"
#include "tests/support/TempDir.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kv::core;

namespace {

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

} // namespace

TEST(GameInstallationTest, SystemScopeFirstAndTheVersionSplitAtDots) {
    kv::test::TempDir dir;
    const std::string system = dir.file("system.conf"), user = dir.file("user.conf");
    dir.write("user.conf", "[Operations]\nInstallDir=/home/me/korvane\nVersion=1.4\n");
    GameInstallation fromUser = findGameInstallation(system, user);
    EXPECT_EQ(fromUser.folder, "/home/me/korvane");
    EXPECT_EQ(fromUser.systemFolder(), "/home/me/korvane/System");
    EXPECT_EQ((std::vector<int>{fromUser.major, fromUser.minor, fromUser.build}), (std::vector<int>{1, 4, 0}));

    dir.write("system.conf", "[Operations]\nInstallDir=/opt/korvane\nVersion=2.10.7x\n");
    GameInstallation fromSystem = findGameInstallation(system, user);
    EXPECT_EQ(fromSystem.folder, "/opt/korvane");
    EXPECT_EQ((std::vector<int>{fromSystem.major, fromSystem.minor, fromSystem.build}), (std::vector<int>{2, 10, 7}));

    GameInstallation none = findGameInstallation(dir.file("absent1"), dir.file("absent2"));
    EXPECT_TRUE(none.folder.empty());
    EXPECT_TRUE(none.systemFolder().empty());
    EXPECT_EQ(none.major + none.minor + none.build, 0);
}

TEST(ManagerSettingsTest, DefaultsThenARoundTripThatKeepsOtherGroupsPrivate) {
    kv::test::TempDir dir;
    const std::string file = dir.file("config/Valdren/Korvane.conf");
    GameInstallation game;
    game.folder = "/opt/korvane";

    ManagerSettings defaults = readManagerSettings(file, game);
    EXPECT_EQ(defaults.showLeagueSelection, 1);
    EXPECT_EQ(defaults.includeServerNameInSetupNames, 0);
    EXPECT_EQ(defaults.textColor, 0x00C7F5FAu);
    EXPECT_EQ(defaults.bgColor, 0x00302A1Du);
    EXPECT_EQ(defaults.listTextColor, 0x0000C2F1u);
    EXPECT_EQ(defaults.listBgColor, 0u);
    EXPECT_EQ(defaults.serverLocation, "/opt/korvane/System");
    EXPECT_EQ(defaults.firstRun, 1);

    dir.write("config/Valdren/Korvane.conf", "[Operations]\nInstallDir=/opt/korvane\n[Options]\nFirstRun=1\n"
                                             "TextColor=not a number\nListBGColor=99999999999\n");
    ManagerSettings odd = readManagerSettings(file, game);
    EXPECT_EQ(odd.textColor, ManagerSettings::kDefaultTextColor); // damaged values keep their defaults
    EXPECT_EQ(odd.listBgColor, ManagerSettings::kDefaultListBgColor);

    ManagerSettings changed = defaults;
    changed.defAdminPassword = "secret=with;odd\ncharacters";
    changed.defaultPlayerAdminList = "Ann&Bob&";
    changed.listBgColor = 0x00123456;
    changed.serverLocation = "/srv/game/System";
    changed.showRunLocalServerHelp = 0;
    std::string error;
    ASSERT_TRUE(writeManagerSettings(file, changed, &error)) << error;
    EXPECT_EQ(modeOf(file), 0600u);
    ASSERT_TRUE(storeFirstRunDone(file, &error)) << error;

    ManagerSettings back = readManagerSettings(file, game);
    EXPECT_EQ(back.defAdminPassword, changed.defAdminPassword);
    EXPECT_EQ(back.defaultPlayerAdminList, "Ann&Bob&");
    EXPECT_EQ(back.listBgColor, 0x00123456u);
    EXPECT_EQ(back.serverLocation, "/srv/game/System");
    EXPECT_EQ(back.showRunLocalServerHelp, 0);
    EXPECT_EQ(back.firstRun, 0);
    EXPECT_EQ(modeOf(file), 0600u);

    QSettings stored(QString::fromStdString(file), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("Operations/InstallDir")).toString(), QStringLiteral("/opt/korvane"));
    EXPECT_EQ(stored.value(QStringLiteral("Options/ListBGColor")).toLongLong(), 0x00123456);
    stored.beginGroup(QStringLiteral("Options"));
    EXPECT_EQ(stored.childKeys().size(), static_cast<qsizetype>(managerSettingsTable().size() + 1)); // + FirstRun
}

TEST(ManagerSettingsTest, AnUnwritableFileIsReportedAndLeftAlone) {
    kv::test::TempDir dir;
    const std::string blocked = dir.write("blocked", "a file where a folder should be");
    std::string error;
    EXPECT_FALSE(writeManagerSettings(blocked + "/Valdren/Korvane.conf", ManagerSettings{}, &error));
    EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
    EXPECT_EQ(kv::readFile(blocked), "a file where a folder should be");
}
