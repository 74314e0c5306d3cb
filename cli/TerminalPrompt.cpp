#include "cli/TerminalPrompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace kv::cli {

std::optional<std::string> askOnTerminal(const std::string& prompt, bool echo) {
    int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0)
        return std::nullopt;
    termios saved{};
    bool restore = !echo && ::tcgetattr(tty, &saved) == 0;
    if (restore) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    [[maybe_unused]] ssize_t shown = ::write(tty, prompt.data(), prompt.size());
    std::string answer;
    char c = 0;
    while (::read(tty, &c, 1) == 1 && c != '\n')
        answer.push_back(c);
    if (restore) {
        ::tcsetattr(tty, TCSAFLUSH, &saved);
        shown = ::write(tty, "\n", 1);
    }
    ::close(tty);
    return answer.substr(0, answer.find('\r'));
}

} // namespace kv::cli
