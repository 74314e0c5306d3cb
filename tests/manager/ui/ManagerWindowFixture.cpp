#include "tests/manager/ui/ManagerWindowFixture.h"

#include "common/Files.h"
#include "manager/setups/ShippedData.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <thread>

namespace kv::test {

bool pump(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

ManagerWindowTest::ManagerWindowTest() {
    guiApp();
    context.workingFolder = dir.file("work");
    setups::prepareWorkingFolder(context.workingFolder, KV_TEST_DATA_DIR);
    context.documentsFolder = dir.file("Documents");
    context.settingsFile = dir.file("Korvane.conf");
    context.helpFolder = dir.file("help");
    dir.write("help/GettingStarted.html", "<html><body>Start here</body></html>");
    dir.write("help/MainWindow.html", "<html><body>The main window</body></html>");
    context.settings.firstRun = 0;
    context.clock = &clock;
}

ManagerWindowTest::~ManagerWindowTest() = default;

std::string ManagerWindowTest::setupFile(const std::string& title) const {
    return joinPath(joinPath(work(), "Server Setups"), title + ".ServerConfig");
}

std::string ManagerWindowTest::writeSetup(const std::string& title, const std::string& lines) const {
    return dir.write("work/Server Setups/" + title + ".ServerConfig", lines);
}

void ManagerWindowTest::openWindow() {
    window = std::make_unique<manager::ui::CKVServerManagerDlg>(context, prompter, desktop, windowOptions);
    QObject::connect(window.get(), &manager::ui::CKVServerManagerDlg::libraryShown, window.get(),
                     [this] { shown = true; });
    window->start();
    ASSERT_TRUE(pump([this] { return shown; }));
}

void ManagerWindowTest::waitForTree() {
    ASSERT_TRUE(pump([this] { return !window->browser()->reloading(); }));
}

QTreeWidgetItem* ManagerWindowTest::node(const QString& label) const {
    const QList<QTreeWidgetItem*> found = tree().findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

void ManagerWindowTest::select(const QString& label) {
    QTreeWidgetItem* item = node(label);
    ASSERT_NE(item, nullptr) << label.toStdString();
    tree().setCurrentItem(item);
}

QString ManagerWindowTest::description() const {
    return window->browser()->description()->toPlainText();
}

std::vector<std::string> ManagerWindowTest::rows() const {
    std::vector<std::string> out;
    for (int r = 0; r < tree().topLevelItemCount(); ++r) {
        const QTreeWidgetItem* root = tree().topLevelItem(r);
        for (int c = 0; c < root->childCount(); ++c)
            for (int s = 0; s < root->child(c)->childCount(); ++s)
                out.push_back(
                    (root->text(0) + u'/' + root->child(c)->text(0) + u'/' + root->child(c)->child(s)->text(0))
                        .toStdString());
    }
    return out;
}

} // namespace kv::test
