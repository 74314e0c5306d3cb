#include "common/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kv {

namespace {

// Status of a child that someone else reaped (e.g. with SIGCHLD ignored): its id may belong to a stranger now.
constexpr int kReapedElsewhere = -1;

// What the child reports through the status pipe when it cannot run the program.
struct StartFailure {
    int step; // 0 = changing folder, 1 = executing
    int error;
};

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

// Both ends of a pipe; whatever is not handed on is closed when this goes out of scope.
struct Pipe {
    int read = -1;
    int write = -1;
    ~Pipe() {
        closeFd(read);
        closeFd(write);
    }
    bool open() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read = fds[0];
        write = fds[1];
        return true;
    }
    int take(int& end) {
        int fd = end;
        end = -1;
        return fd;
    }
};

std::vector<std::string> mergedEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides) {
    std::vector<std::string> result;
    for (char** e = environ; e && *e; ++e) {
        std::string_view entry(*e);
        std::string_view name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const auto& [key, value] : overrides)
            replaced = replaced || key == name;
        if (!replaced)
            result.emplace_back(entry);
    }
    for (const auto& [key, value] : overrides)
        result.push_back(key + "=" + value);
    return result;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    result.reserve(texts.size() + 1);
    for (auto& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

// Runs in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void runChild(int input, int output, int error, int status, const char* folder, const char* program,
                           char* const* argv, char* const* envp, pid_t endWithParent) {
    ::setpgid(0, 0);
    if (endWithParent > 0) {
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) {
            StartFailure failure{1, errno};
            ssize_t ignored = ::write(status, &failure, sizeof failure);
            (void)ignored;
            ::_exit(127);
        }
        // A parent that died before the request took effect has left us to init already: nobody would stop us.
        if (::getppid() != endWithParent)
            ::_exit(127);
    }
    // Dispositions that we ignore would survive exec; the program must get the defaults.
    struct sigaction deflt {};
    deflt.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig)
        ::sigaction(sig, &deflt, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);

    // Move the ends above 2 first, so that a parent with a closed standard handle cannot make one dup2 undo
    // another; the copies are close-on-exec, while dup2's targets are not.
    int ends[3] = {::fcntl(input, F_DUPFD_CLOEXEC, 3), ::fcntl(output, F_DUPFD_CLOEXEC, 3),
                   ::fcntl(error, F_DUPFD_CLOEXEC, 3)};
    for (int target = 0; target < 3; ++target)
        ::dup2(ends[target], target);
    // Descriptors that our process opened without close-on-exec (sockets, logs) must not reach the program, or a
    // listening port would stay held by it.
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        long limit = ::sysconf(_SC_OPEN_MAX);
        for (long fd = 3; fd < (limit > 0 && limit < 65536 ? limit : 65536); ++fd)
            ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
    }
    StartFailure failure{0, 0};
    if (folder && ::chdir(folder) != 0) {
        failure.error = errno;
    } else {
        ::execve(program, argv, envp);
        failure = {1, errno};
    }
    ssize_t ignored = ::write(status, &failure, sizeof failure);
    (void)ignored;
    ::_exit(127);
}

} // namespace

ChildProcess::~ChildProcess() {
    if (!started())
        return;
    closeInput();
    if (status_ != kReapedElsewhere) {
        // The group goes even when its leader has ended already: the leader is not reaped before this point, so its
        // id cannot have been given to anyone else yet.
        ::kill(-pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    closeOutput();
}

bool ChildProcess::start(const ProcessOptions& options, std::string* error) {
    auto fail = [&](const std::string& text) {
        if (error)
            *error = text;
        return false;
    };
    if (started())
        return fail("Cannot start a program twice with the same process object");
    if (options.arguments.empty() || options.arguments[0].empty())
        return fail("Cannot start a program: no program given");

    std::string program = options.arguments[0];
    // A relative program path means relative to our folder, not to the folder the program starts in.
    if (program[0] != '/') {
        char here[4096];
        if (::getcwd(here, sizeof here))
            program = std::string(here) + "/" + program;
    }
    std::vector<std::string> args = options.arguments;
    std::vector<std::string> env = mergedEnvironment(options.environment);
    std::vector<char*> argv = pointers(args);
    std::vector<char*> envp = pointers(env);

    Pipe in, out, err, status;
    if (!in.open() || !out.open() || (!options.mergeErrorIntoOutput && !err.open()) || !status.open())
        return fail("Cannot start " + options.arguments[0] + ": " + std::strerror(errno));
    const char* folder = options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str();
    int childError = options.mergeErrorIntoOutput ? out.write : err.write;

    const pid_t parent = options.endWithParent ? ::getpid() : 0;
    pid_t pid = ::fork();
    if (pid < 0)
        return fail("Cannot start " + options.arguments[0] + ": " + std::strerror(errno));
    if (pid == 0)
        runChild(in.read, out.write, childError, status.write, folder, program.c_str(), argv.data(), envp.data(),
                 parent);

    // Also set here, so that the group exists before we might signal it.
    ::setpgid(pid, pid);
    closeFd(status.write);
    StartFailure failure{};
    ssize_t n;
    do {
        n = ::read(status.read, &failure, sizeof failure);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(sizeof failure)) {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (failure.step == 0)
            return fail("Cannot start " + options.arguments[0] + " in " + options.workingDirectory + ": " +
                        std::strerror(failure.error));
        return fail("Cannot start " + options.arguments[0] + ": " + std::strerror(failure.error));
    }

    pid_ = pid;
    inputFd_ = in.take(in.write);
    outputFd_ = out.take(out.read);
    if (!options.mergeErrorIntoOutput)
        errorFd_ = err.take(err.read);
    status_.reset();
    endedBySignal_ = false;
    return true;
}

void ChildProcess::closeInput() { closeFd(inputFd_); }

void ChildProcess::closeOutput() {
    closeFd(outputFd_);
    closeFd(errorFd_);
}

std::optional<int> ChildProcess::poll() {
    if (!started() || status_)
        return status_;
    // WNOWAIT leaves the ended child unreaped, which keeps its id (and so its group id) reserved until we are
    // destroyed; signalling the group can then never hit a stranger.
    siginfo_t info{};
    int rc;
    do {
        rc = ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        // Someone else reaped it: it has ended, how is unknown.
        status_ = kReapedElsewhere;
        return status_;
    }
    if (info.si_pid == 0)
        return std::nullopt;
    if (info.si_code == CLD_EXITED) {
        status_ = info.si_status;
    } else {
        endedBySignal_ = true;
        status_ = 128 + info.si_status;
    }
    return status_;
}

std::optional<int> ChildProcess::waitFor(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    auto step = std::chrono::milliseconds(1);
    for (;;) {
        if (auto result = poll())
            return result;
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(step, deadline - now));
        step = std::min(step * 2, std::chrono::milliseconds(20));
    }
}

bool ChildProcess::signalGroup(int signal) {
    if (!started() || poll().has_value())
        return false;
    return ::kill(-pid_, signal) == 0;
}

void ChildProcess::terminate() { signalGroup(SIGTERM); }

void ChildProcess::kill() { signalGroup(SIGKILL); }

} // namespace kv
