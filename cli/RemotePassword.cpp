#include "cli/RemotePassword.h"

#include "common/Files.h"
#include "common/Text.h"

#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace kv::cli {

namespace {

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

std::optional<std::string> promptOnTerminal(const std::string& prompt) {
    int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0)
        return std::nullopt;
    termios saved{};
    bool restore = ::tcgetattr(tty, &saved) == 0;
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
    if (restore)
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    shown = ::write(tty, "\n", 1);
    ::close(tty);
    return firstLine(answer);
}

} // namespace

std::optional<std::string> readRemotePassword(const std::optional<std::string>& passwordFile, const std::string& prompt,
                                              std::string& error) {
    if (passwordFile) {
        std::optional<std::string> text = readFile(*passwordFile);
        if (!text) {
            error = "the password file " + *passwordFile + " cannot be read";
            return std::nullopt;
        }
        return firstLine(*text);
    }
    if (const char* fromEnvironment = std::getenv("KVSM_PASSWORD"))
        return firstLine(fromEnvironment);
    std::optional<std::string> typed = promptOnTerminal(prompt);
    if (!typed)
        error = "no password: use --password-file FILE, the variable KVSM_PASSWORD or a terminal to type it";
    return typed;
}

} // namespace kv::cli
