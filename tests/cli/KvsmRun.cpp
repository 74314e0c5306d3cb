#include "tests/cli/KvsmRun.h"

#include "common/Files.h"

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

namespace kv::test {

KvsmResult runKvsm(const TempDir& dir, const std::vector<std::string>& arguments, const std::string& path) {
    std::vector<std::string> env = {"HOME=" + dir.file("home"), "XDG_CONFIG_HOME=" + dir.file("config"),
                                    "XDG_CONFIG_DIRS=" + dir.file("system-config"), "XDG_DATA_HOME=" + dir.file("data"),
                                    "PATH=" + path};
    for (const char* keep : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TZ"})
        if (const char* value = std::getenv(keep))
            env.push_back(std::string(keep) + "=" + value);
    std::vector<std::string> argv = {std::string(KV_BIN_DIR) + "/kvsm"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());

    const std::string outPath = dir.file("stdout"), errPath = dir.file("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    auto pointers = [](std::vector<std::string>& strings) {
        std::vector<char*> p;
        for (std::string& s : strings)
            p.push_back(s.data());
        p.push_back(nullptr);
        return p;
    };
    std::vector<char*> argp = pointers(argv), envp = pointers(env);
    KvsmResult result;
    pid_t pid = -1;
    if (posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readFile(outPath).value_or("");
    result.err = readFile(errPath).value_or("");
    return result;
}

} // namespace kv::test
