#include "cli/RemotePassword.h"

#include "cli/TerminalPrompt.h"
#include "common/Files.h"
#include "common/Text.h"

#include <cstdlib>

namespace kv::cli {

namespace {

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
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
    std::optional<std::string> typed = askOnTerminal(prompt, false);
    if (!typed)
        error = "no password: use --password-file FILE, the variable KVSM_PASSWORD or a terminal to type it";
    return typed;
}

} // namespace kv::cli
