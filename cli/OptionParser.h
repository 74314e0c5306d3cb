#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kv::cli {

// Parses the options of one command: "--name value", "--name=value", switches "--flag", "--" ending the options;
// everything else is positional. Unknown options and missing values are errors, never guesses.
class OptionParser {
public:
    OptionParser& value(std::string name);  // an option that takes a value, e.g. "workdir" for --workdir
    OptionParser& flag(std::string name);   // a switch

    bool parse(const std::vector<std::string>& arguments);
    const std::string& error() const { return error_; }

    bool has(const std::string& name) const;
    std::optional<std::string> get(const std::string& name) const;
    std::string get(const std::string& name, const std::string& fallback) const;
    const std::vector<std::string>& positionals() const { return positionals_; }

private:
    std::set<std::string> valueNames_;
    std::set<std::string> flagNames_;
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> positionals_;
    std::string error_;
};

} // namespace kv::cli
