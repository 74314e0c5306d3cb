#pragma once

#include "client/RemoteControlSinks.h"

#include <ostream>
#include <string>

namespace kv::cli {

// The status window of kvsm: keeps the last progress text for the failure message, and shows every text when
// asked to.
class CliStatus : public StatusSink {
public:
    CliStatus(std::ostream& err, bool verbose) : err_(err), verbose_(verbose) {}
    void setText(const std::string& text) override {
        last_ = text;
        if (verbose_)
            err_ << text << '\n';
    }
    const std::string& last() const { return last_; }

private:
    std::ostream& err_;
    bool verbose_;
    std::string last_;
};

} // namespace kv::cli
