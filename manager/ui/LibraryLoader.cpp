#include "manager/ui/LibraryLoader.h"

#include "common/Clock.h"

#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace kv::manager::ui {

// What a worker shares with the loader. The loader clears `receiver` under the mutex before it goes away; the worker
// emits only under the same mutex, so it never touches a destroyed loader.
struct LibraryLoader::Job {
    std::mutex mutex;
    LibraryLoader* receiver = nullptr;
    std::atomic<bool> done{false};
};

LibraryLoader::LibraryLoader(std::string workingFolder, QObject* parent)
    : QObject(parent), workingFolder_(std::move(workingFolder)) {}

LibraryLoader::~LibraryLoader() {
    abandon();
}

void LibraryLoader::abandon() {
    if (!job_)
        return;
    std::lock_guard lock(job_->mutex);
    job_->receiver = nullptr;
    job_.reset();
}

bool LibraryLoader::loading() const {
    return job_ && !job_->done.load();
}

void LibraryLoader::load() {
    abandon();
    auto job = std::make_shared<Job>();
    job->receiver = this;
    job_ = job;
    std::thread([job, folder = workingFolder_] {
        LibraryEntries entries;
        const auto start = std::chrono::steady_clock::now();
        try {
            const SystemClock clock; // an empty setup file is judged old enough to remove by the real time
            setups::SetupLibrary library(folder, clock);
            entries = library.refresh();
            setups::sortEntries(entries);
        } catch (const std::exception& e) {
            qWarning("kvmanager: the setup library could not be listed: %s", e.what());
            entries.clear();
        } catch (...) {
            entries.clear();
        }
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        std::lock_guard lock(job->mutex);
        job->done = true;
        if (job->receiver) // the loader lives on the GUI thread, so this is delivered there, queued, as a copy
            emit job->receiver->loaded(entries, static_cast<qint64>(elapsed));
    }).detach();
}

} // namespace kv::manager::ui
