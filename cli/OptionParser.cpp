#include "cli/OptionParser.h"

namespace kv::cli {

OptionParser& OptionParser::value(std::string name) {
    valueNames_.insert(std::move(name));
    return *this;
}

OptionParser& OptionParser::flag(std::string name) {
    flagNames_.insert(std::move(name));
    return *this;
}

bool OptionParser::parse(const std::vector<std::string>& arguments) {
    values_.clear();
    flags_.clear();
    positionals_.clear();
    error_.clear();
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (arg == "--")
                optionsEnded = true;
            else
                positionals_.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> inlineValue;
        if (std::size_t eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (flagNames_.count(name)) {
            if (inlineValue) {
                error_ = "Option --" + name + " takes no value.";
                return false;
            }
            flags_.insert(name);
        } else if (valueNames_.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= arguments.size()) {
                    error_ = "Option --" + name + " needs a value.";
                    return false;
                }
                inlineValue = arguments[++i];
            }
            values_[name] = *inlineValue;
        } else {
            error_ = "Unknown option --" + name + ".";
            return false;
        }
    }
    return true;
}

bool OptionParser::has(const std::string& name) const { return flags_.count(name) || values_.count(name); }

std::optional<std::string> OptionParser::get(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::string OptionParser::get(const std::string& name, const std::string& fallback) const {
    return get(name).value_or(fallback);
}

} // namespace kv::cli
