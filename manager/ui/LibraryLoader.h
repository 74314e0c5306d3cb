#pragma once

#include "manager/ui/SetupTree.h"

#include <QObject>

#include <memory>
#include <string>

namespace kv::manager::ui {

// Lists the setup library on a worker thread and hands the sorted entries to the GUI thread with a queued signal.
// Reading thousands of files, or one that hangs, never holds the GUI thread. A load that is no longer wanted (a newer
// load, or this object's end) is abandoned: its thread is never joined, so a read stuck on a slow disk cannot block
// the window; it finishes on its own and its result is dropped.
class LibraryLoader : public QObject {
    Q_OBJECT
public:
    explicit LibraryLoader(std::string workingFolder, QObject* parent = nullptr);
    ~LibraryLoader() override;

    // Starts listing the library; loaded() follows on this object's thread.
    void load();
    bool loading() const;

signals:
    // `elapsedMs`: how long the listing took on the worker.
    void loaded(const kv::manager::ui::LibraryEntries& entries, qint64 elapsedMs);

private:
    struct Job;
    void abandon();

    std::string workingFolder_;
    std::shared_ptr<Job> job_;
};

} // namespace kv::manager::ui
