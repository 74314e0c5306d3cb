#pragma once

#include "manager/core/ManagerSettings.h"
#include "manager/setups/MapTable.h"
#include "manager/ui/SetupTree.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <string>

class QPlainTextEdit;
class QSplitter;

namespace kv::core {
struct ManagerContext;
}

namespace kv::manager::ui {

class LibraryLoader;

// The setup library as both the main window and the setup chooser show it: the tree on the left, and on the right
// the description of the selected setup (read from its own file) or a short help text for a root or a category.
class SetupBrowser : public QWidget {
    Q_OBJECT
public:
    static const char* const kRootHelp;
    static const char* const kCategoryHelp;

    explicit SetupBrowser(const core::ManagerContext& context, QWidget* parent = nullptr);
    ~SetupBrowser() override;

    SetupTree* tree() const { return tree_; }
    QPlainTextEdit* description() const { return description_; }

    // Lists the library on the worker and rebuilds the tree; `then` runs once the new tree is in place (it picks
    // the node to select), before loaded().
    void reload(std::function<void(SetupTree&)> then = {});
    bool reloading() const { return reloading_; }
    // Milliseconds from the start of the last reload to its tree being complete.
    qint64 lastLoadMilliseconds() const { return lastLoadMs_; }

    // The selected node, when it is a setup.
    bool setupSelected() const;
    std::string selectedFile() const;
    std::string selectedName() const;

    // ListTextColor on ListBGColor for the tree, TextColor on BGColor for the description.
    void applyColours(const core::ManagerSettings& settings);

    const setups::MapTable& maps() const { return maps_; }

signals:
    void loaded();
    void selectionChanged();

private:
    void showDescription();

    const core::ManagerContext& context_;
    LibraryLoader* loader_ = nullptr;
    SetupTree* tree_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QSplitter* splitter_ = nullptr;
    setups::MapTable maps_;
    std::function<void(SetupTree&)> then_;
    QElapsedTimer loadTimer_;
    qint64 lastLoadMs_ = 0;
    bool reloading_ = false;
};

} // namespace kv::manager::ui
