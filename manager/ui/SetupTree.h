#pragma once

#include "manager/setups/SetupLibrary.h"

#include <QTimer>
#include <QTreeWidget>

#include <string>
#include <unordered_map>
#include <vector>

namespace kv::manager::ui {

using LibraryEntries = std::vector<setups::LibraryEntry>;

enum class NodeKind { Root, Category, Setup };

// Which roots the tree shows.
enum class ViewFilter { All, Standard, Tournament };

// The two-level library tree: roots, categories, setups. Each node knows its kind, and each setup node the file it was
// read from, so that a command acts on that very file even when two setups carry the same name. Entries are turned
// into nodes a slice per event-loop turn, off-screen, and swapped in whole: a library of thousands of setups never
// holds the GUI thread for long, and the old tree stays usable to look at until the new one is complete.
class SetupTree : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kSliceSize = 250;
    // Up to this many setups every category is opened; beyond it only the roots, so that the list stays short.
    static constexpr std::size_t kExpandAllLimit = 400;
    // A setup name from someone else's file may be long or carry control bytes; the label shows a readable part.
    static constexpr int kMaxLabelLength = 120;

    explicit SetupTree(QWidget* parent = nullptr);

    // Starts building the tree for `entries` (expected sorted); built() follows once it is shown. A build still
    // under way is abandoned.
    void showEntries(LibraryEntries entries);
    bool building() const { return timer_.isActive(); }

    void setViewFilter(ViewFilter filter);
    ViewFilter viewFilter() const { return filter_; }

    static NodeKind kindOf(const QTreeWidgetItem* item);
    static std::string fileOf(const QTreeWidgetItem* item); // setup nodes: the setup's file
    static std::string nameOf(const QTreeWidgetItem* item); // setup nodes: m_csName as read; categories: the label
    static setups::LibraryRoot rootOf(const QTreeWidgetItem* item);
    static QString labelFor(const std::string& text);

    QTreeWidgetItem* rootItem(setups::LibraryRoot root) const;
    QTreeWidgetItem* categoryItem(setups::LibraryRoot root, const std::string& label) const;
    QTreeWidgetItem* setupItem(const std::string& file) const;
    // The setup node named `name` (letter case aside, as setup names are compared) below `category`, or nullptr.
    static QTreeWidgetItem* childNamed(const QTreeWidgetItem* category, const std::string& name);
    int setupCount() const { return setupCount_; }

    // Selection rules of the commands. Each returns false when the node is not there (nothing then changes).
    bool selectSetupFile(const std::string& file);
    // The category, or its root when the category is gone.
    void selectCategoryOrRoot(setups::LibraryRoot root, const std::string& label);
    void selectNode(QTreeWidgetItem* item);

signals:
    void built();
    void viewFilterChanged(kv::manager::ui::ViewFilter filter);

private:
    struct Build {
        LibraryEntries entries;
        std::size_t next = 0;
        QTreeWidgetItem* roots[2] = {nullptr, nullptr};
        std::unordered_map<std::string, QTreeWidgetItem*> categories[2];
        std::unordered_map<std::string, QTreeWidgetItem*> setupsByFile;
    };

    void buildSlice();
    void finishBuild();
    void discardBuild();
    void applyFilter();

    QTimer timer_;
    Build build_;
    ViewFilter filter_ = ViewFilter::All;
    std::unordered_map<std::string, QTreeWidgetItem*> setupsByFile_;
    int setupCount_ = 0;
};

} // namespace kv::manager::ui
