#include "agent/InitialPasswordFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kv::agent::initial_password_file {

namespace {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool write(const std::string& path, const std::string& password, std::string* error) {
    std::vector<char> temp(path.begin(), path.end());
    const char suffix[] = ".tmp-XXXXXX";
    temp.insert(temp.end(), suffix, suffix + sizeof suffix);
    // mkostemp creates the file exclusively (O_EXCL) and readable by the owner only; fchmod keeps it at exactly
    // 0600 whatever the umask. The password is in the file before the file has its real name.
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    bool ok = fd >= 0;
    int failure = ok ? 0 : errno;
    if (ok) {
        ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && writeAll(fd, password + "\n") && ::fsync(fd) == 0;
        failure = ok ? 0 : errno;
        if (::close(fd) != 0 && ok) {
            ok = false;
            failure = errno;
        }
        if (ok && ::rename(temp.data(), path.c_str()) != 0) {
            ok = false;
            failure = errno;
        }
        if (!ok)
            ::unlink(temp.data());
    }
    if (!ok && error)
        *error = "cannot write " + path + ": " + std::strerror(failure);
    return ok;
}

} // namespace kv::agent::initial_password_file
