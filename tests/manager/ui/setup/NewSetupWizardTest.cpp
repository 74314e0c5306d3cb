#include "manager/ui/setup/CNewServerSetupWizard.h"
#include "manager/ui/setup/CSelectNewServerTypeDlg.h"
#include "manager/ui/setup/CStandardWizardServerTypePropertyPage.h"
#include "manager/ui/setup/NewSetupFlow.h"

#include "common/Files.h"
#include "gui/WidgetPictures.h"
#include "manager/core/ManagerContext.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupStore.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/FakeDesktopServices.h"
#include "tests/support/gui/FakePrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace kv::test {
namespace {

using namespace manager::ui;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool pumpUntil(const std::function<bool()>& done) {
    return gui::processEventsUntil(done, 30000);
}

// Answers every GET with `body` as the address report.
class AddressServer {
public:
    explicit AddressServer(QByteArray body) : body_(std::move(body)) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            QTcpSocket* s = server_.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                s->readAll();
                s->write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body_);
                s->disconnectFromHost();
            });
        });
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/"; }

private:
    QTcpServer server_;
    QByteArray body_;
};

class NewSetupWizardTest : public ::testing::Test {
protected:
    NewSetupWizardTest() {
        guiApp();
        context.workingFolder = dir.file("work");
        makeDirectories(joinPath(context.workingFolder, "Server Setups"));
        context.helpFolder = dir.file("help");
        context.settings.defServerName = "Box";
        context.settings.defAdminName = "Raven";
        context.settings.showLeagueSelection = 1;
        dir.write("work/RemoteServerConfig.ini", "Server=Harbor One,192.0.2.1,admin,pw\njunk\nSERVER=Harbor\x01Two,,x\n");
    }

    // Next on the current page; false when the page stayed.
    static bool next(QWizard& w) {
        const int before = w.currentId();
        w.next();
        return w.currentId() != before;
    }
    template <typename T>
    static T* field(QWizard& w, const char* name) {
        return w.currentPage()->findChild<T*>(QString::fromUtf8(name));
    }
    // The expected file: the record as the wizard should leave it, written by the one writer into another folder.
    std::string expectedBytes(setups::ServerSetup setup) {
        setups::SetupStore store(dir.file("expected"));
        makeDirectories(store.setupsFolder());
        EXPECT_TRUE(store.save(setup));
        return readAll(store.pathFor(setup.m_csName));
    }

    TempDir dir;
    core::ManagerContext context;
    FakePrompter prompter;
    FakeDesktopServices desktop;
    setups::MapTable maps = setups::MapTable::builtIn();
};

TEST_F(NewSetupWizardTest, StandardWizardWalksToFinishAndSavesTheSetup) {
    AddressServer report("  203.0.113.5\n");
    context.settings.addressReportUrl = report.url();
    std::vector<QString> serverNames;
    std::string proposed;
    prompter.dialogHandler = [&](QDialog& d) {
        if (auto* kind = qobject_cast<CSelectNewServerTypeDlg*>(&d)) {
            kind->choose(SetupKind::Standard);
            return true;
        }
        auto& w = dynamic_cast<CNewServerSetupWizard&>(d);
        w.show();
        w.restart();
        EXPECT_TRUE(next(w)); // the first map of the table
        field<QComboBox>(w, "teamSize")->setCurrentText(QStringLiteral("6"));
        prompter.answers = {false};
        EXPECT_FALSE(next(w)); // a blank player password: No stays
        prompter.answers = {true};
        EXPECT_TRUE(next(w));
        EXPECT_TRUE(next(w)); // match length as proposed
        field<QLineEdit>(w, "adminPassword")->setText(QStringLiteral("a#bc"));
        EXPECT_FALSE(next(w));
        field<QLineEdit>(w, "adminPassword")->setText(QStringLiteral("abc  "));
        prompter.answers = {true};
        EXPECT_TRUE(next(w)); // weak, kept on Yes
        auto* page = qobject_cast<CStandardWizardServerTypePropertyPage*>(w.currentPage());
        bool done = false;
        QObject::connect(page, &CStandardWizardServerTypePropertyPage::detectionDone, page, [&] { done = true; });
        page->autoDetermine();
        EXPECT_TRUE(pumpUntil([&] { return done; }));
        EXPECT_EQ(field<QLineEdit>(w, "address")->text(), QStringLiteral("203.0.113.5"));
        EXPECT_TRUE(next(w));
        auto* names = field<QComboBox>(w, "serverName");
        for (int i = 0; i < names->count(); ++i)
            serverNames.push_back(names->itemText(i));
        EXPECT_TRUE(next(w));
        auto* name = field<QLineEdit>(w, "setupName");
        proposed = name->text().toStdString();
        name->setText(QStringLiteral("My.Setup"));
        EXPECT_FALSE(next(w));
        name->setText(QStringLiteral("Night Games"));
        EXPECT_TRUE(next(w));
        w.button(QWizard::FinishButton)->click();
        return w.result() == QDialog::Accepted;
    };
    const auto path = createNewSetup(context, prompter, desktop, maps, [] { return std::optional<std::string>(""); },
                                     nullptr);
    ASSERT_TRUE(path);
    const setups::MapInfo& first = maps.row(0);
    EXPECT_EQ(proposed, "Standard Gameplay Internet Server 12 Players on " + first.title);
    EXPECT_EQ(serverNames, (std::vector<QString>{QStringLiteral("Harbor One"), QStringLiteral("HarborTwo")}));
    ASSERT_EQ(prompter.errors.size(), 2u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Invalid Password Symbol."));
    EXPECT_EQ(prompter.errors[1].caption, QStringLiteral("Invalid Server Setup"));
    ASSERT_EQ(prompter.questions.size(), 3u);
    EXPECT_EQ(prompter.questions[0].caption, QStringLiteral("Player Password Not Entered"));
    EXPECT_EQ(prompter.questions[2].caption, QStringLiteral("Administrator Password Not Entered"));

    setups::ServerSetup want;
    want.m_csName = "Night Games";
    want.m_csMapName = first.title;
    want.m_csMapFile = first.name;
    want.m_csServerName = "Box";
    want.m_csAdminName = "Raven";
    want.m_csAdminPassword = "abc";
    want.m_csMultiHomedServerIP = "203.0.113.5";
    want.m_iMaxTeamSize = 6;
    want.m_iMaxPlayers = first.cooperative() ? 6 : 12;
    EXPECT_EQ(readAll(*path), expectedBytes(want));

    // The same name in another letter case is refused at the name page.
    EXPECT_TRUE(setupNameInUse(context.workingFolder, "NIGHT games"));
}

TEST_F(NewSetupWizardTest, LeagueTurnsStandardIntoTournamentAndFindsNoAddressWhenTheEndpointIsDown) {
    context.settings.addressReportUrl = "http://127.0.0.1:1/";
    context.settings.includeServerNameInSetupNames = 1;
    context.settings.warnOnBlankPlayerPasswordDuringWizard = 0;
    setups::ServerSetup league;
    league.m_csLeagueName = "Alpha";
    league.m_fTournamentModeEnabled = 1;
    league.m_iTournamentPauseTime = 50; // not in the list: lands on 0:45
    setups::SetupStore store(context.workingFolder);
    const std::string leagueFile = dir.file("work/LeagueInfo/Alpha.dat");
    makeDirectories(dir.file("work/LeagueInfo"));
    ASSERT_TRUE(store.saveLeagueForm(league, leagueFile));
    std::string proposed;
    prompter.dialogHandler = [&](QDialog& d) {
        if (auto* kind = qobject_cast<CSelectNewServerTypeDlg*>(&d)) {
            kind->choose(SetupKind::Standard);
            return true;
        }
        auto& w = dynamic_cast<CNewServerSetupWizard&>(d);
        w.show();
        w.restart();
        EXPECT_TRUE(next(w));                                                                // map
        EXPECT_EQ(field<QLineEdit>(w, "teamName0")->text(), QStringLiteral("Home Team"));
        EXPECT_TRUE(next(w));                                                                // teams
        field<QComboBox>(w, "teamSize")->setCurrentText(QStringLiteral("6"));
        EXPECT_TRUE(next(w));                                                                // players
        EXPECT_TRUE(next(w));                                                                // length
        EXPECT_EQ(field<QComboBox>(w, "pauseTime")->currentText(), QStringLiteral("0:45"));
        EXPECT_TRUE(next(w));                                                                // pause
        EXPECT_TRUE(next(w));                                                                // swap
        field<QRadioButton>(w, "tieRule2")->setChecked(true);
        EXPECT_TRUE(next(w));                                                                // ties
        EXPECT_TRUE(next(w));                                                                // mercy
        field<QLineEdit>(w, "adminPassword")->setText(QStringLiteral("a-b1"));
        EXPECT_TRUE(next(w));                                                                // admins
        EXPECT_TRUE(next(w));                                                                // times
        EXPECT_TRUE(next(w));                                                                // scoreboard
        field<QRadioButton>(w, "lan")->setChecked(true);
        field<QRadioButton>(w, "internet")->setChecked(true);
        auto* page = qobject_cast<CStandardWizardServerTypePropertyPage*>(w.currentPage());
        bool done = false;
        QObject::connect(page, &CStandardWizardServerTypePropertyPage::detectionDone, page, [&] { done = true; });
        page->autoDetermine();
        EXPECT_TRUE(pumpUntil([&] { return done; }));
        EXPECT_EQ(field<QLineEdit>(w, "address")->text(), QStringLiteral("Unknown"));
        field<QRadioButton>(w, "lan")->setChecked(true);
        EXPECT_TRUE(next(w));                                                                // network
        EXPECT_TRUE(next(w));                                                                // server name
        proposed = field<QLineEdit>(w, "setupName")->text().toStdString();
        field<QLineEdit>(w, "setupName")->setText(QStringLiteral("Cup"));
        EXPECT_TRUE(next(w));
        w.button(QWizard::FinishButton)->click();
        return w.result() == QDialog::Accepted;
    };
    const auto path = createNewSetup(context, prompter, desktop, maps, [&] { return std::optional(leagueFile); },
                                     nullptr);
    ASSERT_TRUE(path);
    ASSERT_GE(prompter.informations.size(), 1u);
    EXPECT_EQ(prompter.informations[0].caption, QStringLiteral("Creating Tournament Setup"));
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0].caption, QStringLiteral("Unable to Determine Internet IP"));
    setups::ServerSetup tournament;
    prepareNewSetup(tournament, SetupKind::Tournament, context.settings, maps, {});
    const std::string map = tournament.m_csMapName;
    EXPECT_EQ(proposed, "Box (Alpha) - 6 on 6 " + map + " LAN Team Captain Run Tournament");

    setups::ServerSetup want = tournament;
    setups::SetupStore(context.workingFolder).loadLeagueFile(leagueFile, want);
    want.m_csName = "Cup";
    want.m_iMaxTeamSize = 6;
    want.m_iTournamentPauseTime = 45;
    want.m_fTournamentTieScore = 1;
    want.m_csAdminPassword = "a-b1";
    want.m_fLANOnly = 1;
    if (const setups::MapInfo* info = maps.find(map); info && info->maxPlayers > 0)
        want.m_iRoundLength = info->maxPlayers;
    EXPECT_EQ(readAll(*path), expectedBytes(want));
}

// A rotation: maps added and one removed again on the map page become the rotation list in order, its first map the
// setup's map, and the proposal counts the maps.
TEST_F(NewSetupWizardTest, ARotationKeepsItsOrderAndNamesTheFirstMap) {
    context.settings.showLeagueSelection = 0;
    context.settings.warnOnBlankPlayerPasswordDuringWizard = 0;
    std::string proposed;
    std::vector<std::string> chosen;
    prompter.dialogHandler = [&](QDialog& d) {
        if (auto* kind = qobject_cast<CSelectNewServerTypeDlg*>(&d)) {
            kind->choose(SetupKind::Standard);
            return true;
        }
        auto& w = dynamic_cast<CNewServerSetupWizard&>(d);
        w.show();
        w.restart();
        field<QRadioButton>(w, "rotateMaps")->setChecked(true);
        auto* list = field<QListWidget>(w, "maps");
        auto* add = field<QPushButton>(w, "addMap");
        for (int row : {3, 0, 5, 1}) {
            list->setCurrentRow(row);
            chosen.push_back(list->currentItem()->text().toStdString());
            add->click();
        }
        auto* rotation = field<QListWidget>(w, "rotation");
        EXPECT_EQ(rotation->count(), 4);
        rotation->setCurrentRow(2); // the third one added goes again
        field<QPushButton>(w, "removeMap")->click();
        chosen.erase(chosen.begin() + 2);
        field<QComboBox>(w, "matchesBeforeCycle")->setCurrentText(QStringLiteral("2"));
        for (int page = 0; page < 40 && w.nextId() != -1; ++page) {
            if (auto* name = w.currentPage()->findChild<QLineEdit*>(QStringLiteral("setupName"))) {
                proposed = name->text().toStdString();
                name->setText(QStringLiteral("Tour"));
            }
            if (auto* password = w.currentPage()->findChild<QLineEdit*>(QStringLiteral("adminPassword")))
                password->setText(QStringLiteral("a-b1"));
            EXPECT_TRUE(next(w)) << "stayed on page " << w.currentId();
        }
        w.button(QWizard::FinishButton)->click();
        return w.result() == QDialog::Accepted;
    };
    const auto path = createNewSetup(context, prompter, desktop, maps, {}, nullptr);
    ASSERT_TRUE(path);
    setups::ServerSetup saved;
    ASSERT_TRUE(setups::SetupStore(context.workingFolder).load(*path, saved));
    EXPECT_EQ(saved.m_fCycleMaps, 1);
    ASSERT_EQ(chosen.size(), 3u);
    EXPECT_EQ((std::vector<std::string>(saved.m_acsCycleMapList.begin(), saved.m_acsCycleMapList.begin() + 4)),
              (std::vector<std::string>{chosen[0], chosen[1], chosen[2], ""}));
    EXPECT_EQ(saved.mapCount, 3);
    EXPECT_EQ(saved.m_iMatchesBeforeCycle, 2);
    EXPECT_EQ(saved.m_csMapName, chosen[0]);
    EXPECT_EQ(saved.m_csMapFile, maps.find(chosen[0])->name);
    EXPECT_NE(proposed.find("3"), std::string::npos) << proposed;
}

} // namespace
} // namespace kv::test
