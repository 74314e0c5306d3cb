// Lists a library of 10,000 setups and compares the time with reading the same files' bytes through cat; then
// generates one setup's game files many times and compares with writing the same bytes.
//   bench_setup_listing [--bin DIR] [--root DIR] [--setups N]
// --root is the source tree (its data/ has the configuration template); --bin is accepted for the common calling
// convention and not needed here.

#include "bench/common/BenchLibrary.h"
#include "common/AtomicFile.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "manager/setups/ConfigGenerator.h"
#include "manager/setups/MapTable.h"
#include "manager/setups/SetupLibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

using namespace kv::setups;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Reads every file with one cat process, output to /dev/null; the seconds taken.
double catSeconds(const std::vector<std::string>& files) {
    std::vector<std::string> args = {"/bin/cat"};
    args.insert(args.end(), files.begin(), files.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    auto start = Clock::now();
    pid_t pid = -1;
    int status = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    double seconds = secondsSince(start);
    posix_spawn_file_actions_destroy(&actions);
    return seconds;
}

// Generates one setup's files many times in `folder`, against writing the same three files' bytes there.
void benchGenerate(const std::string& folderRoot, const char* where, const std::string& templateText,
                   const MapTable& maps, ServerSetup setup) {
    kv::writeFileAtomically(kv::joinPath(folderRoot, "ConfigurationTemplate.ini"), templateText);
    GeneratorSettings settings{kv::joinPath(folderRoot, "ConfigurationTemplate.ini"),
                               kv::joinPath(folderRoot, "docs"),
                               "/opt/korvane/System",
                               {"user", "password", "192.0.2.1"}};
    ConfigGenerator generator(settings, maps);
    generator.generate(setup);
    const std::string folder = generator.outputFolder() + "/";
    const std::string ini = kv::readFile(folder + setup.generatedIniName).value_or("");
    const std::string bat = kv::readFile(folder + setup.generatedBatName).value_or("");
    const std::string sh = kv::readFile(folder + setup.generatedShName).value_or("");
    const int runs = 100;
    auto start = Clock::now();
    for (int i = 0; i < runs; ++i)
        generator.generate(setup);
    const double generateTime = secondsSince(start) / runs;
    start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        kv::writeFileAtomically(folder + "copy.ini", ini, nullptr, kv::FlushToDisk::No);
        kv::writeFileAtomically(folder + "copy.bat", bat, nullptr, kv::FlushToDisk::No);
        kv::writeFileAtomically(folder + "copy.sh", sh, nullptr, kv::FlushToDisk::No);
    }
    const double writeTime = secondsSince(start) / runs;
    start = Clock::now();
    std::size_t bytes = 0;
    for (int i = 0; i < runs * 10; ++i)
        bytes += generator.expandTemplate(setup, templateText).size();
    const double expandTime = secondsSince(start) / (runs * 10);
    std::printf("generate one setup %s: %.3f ms (aim: under 1 ms); template expansion alone %.3f ms (%zu bytes)\n",
                where, generateTime * 1000, expandTime * 1000, bytes / (runs * 10));
    std::printf("generate ratio %s (generate / writing the same three files atomically): %.2f\n", where,
                generateTime / writeTime);
}

} // namespace

int main(int argc, char** argv) {
    int count = 10000;
    std::string dataFolder = KV_BENCH_DATA_DIR;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--setups")
            count = std::max(1, std::atoi(argv[i + 1]));
        else if (std::string(argv[i]) == "--root")
            dataFolder = kv::joinPath(argv[i + 1], "data");
    }

    char pattern[] = "/tmp/kvbench-setups-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string root = pattern;
    const MapTable maps = MapTable::builtIn();
    kv::SystemClock clock;
    SetupLibrary library(root, clock);
    kv::bench::fillLibrary(library.store(), maps, count);

    std::vector<std::string> files;
    for (const std::string& name : kv::listDirectory(library.store().setupsFolder()))
        files.push_back(kv::joinPath(library.store().setupsFolder(), name));

    // Both sides run several times, interleaved, after one warm-up each; the medians are compared.
    catSeconds(files);
    std::size_t listed = library.refresh().size();
    std::vector<double> catTimes, listTimes;
    for (int round = 0; round < 5; ++round) {
        catTimes.push_back(catSeconds(files));
        auto start = Clock::now();
        std::vector<LibraryEntry> entries = library.refresh();
        sortEntries(entries);
        listTimes.push_back(secondsSince(start));
    }
    const double catTime = median(catTimes), listTime = median(listTimes);
    std::printf("setup listing: %zu setups listed in %.1f ms; cat of the same files %.1f ms\n", listed, listTime * 1000,
                catTime * 1000);
    std::printf("setup listing ratio (listing / cat): %.2f (aim: under 3)\n", listTime / catTime);

    const std::string templateText = kv::readFile(kv::joinPath(dataFolder, "ConfigurationTemplate.ini")).value_or("");
    ServerSetup setup;
    library.store().load("Setup 00001", setup);
    benchGenerate(root, "on the library's disk", templateText, maps, setup);
    if (kv::directoryExists("/dev/shm")) {
        char shm[] = "/dev/shm/kvbench-generate-XXXXXX";
        if (mkdtemp(shm)) {
            benchGenerate(shm, "in memory (/dev/shm)", templateText, maps, setup);
            std::error_code ignored;
            std::filesystem::remove_all(shm, ignored);
        }
    }

    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return 0;
}
