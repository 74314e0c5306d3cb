#include "common/CommandLine.h"

namespace kv {

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (!quoted && (c == ' ' || c == '\t' || c == '\n' || c == '\r')) {
            if (inArgument) {
                args.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            std::size_t run = 0;
            while (i < line.size() && line[i] == '\\') {
                ++run;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                current.append(run / 2, '\\');
                if (run % 2 == 1) {
                    current.push_back('"');
                    ++i;
                }
                // An even run leaves the quote to toggle quoting on the next pass.
            } else {
                current.append(run, '\\');
            }
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
            ++i;
            continue;
        }
        current.push_back(c);
        ++i;
    }
    if (inArgument)
        args.push_back(std::move(current));
    return args;
}

std::string quoteArgument(std::string_view argument) {
    bool needsQuotes = argument.empty() || argument.find_first_of(" \t\r\n\"") != std::string_view::npos;
    if (!needsQuotes)
        return std::string(argument);
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, '\\');
    out.push_back('"');
    return out;
}

} // namespace kv
