#include "manager/setups/SetupWriter.h"

#include "common/Format.h"
#include "manager/setups/SetupFields.h"

#include <charconv>

namespace kv::setups {

namespace {

// A one-line value cannot hold a line break: written as is, it would end the line and turn the rest of the value
// into a line of its own, which could set any other key on reading. Breaks are dropped instead.
void appendOneLine(std::string& out, std::string_view value) {
    for (char c : value)
        if (c != '\r' && c != '\n')
            out.push_back(c);
}

void appendInt(std::string& out, int value) {
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

struct WriteVisitor {
    std::string& out;
    std::string_view key;

    void line(std::string_view k) const {
        out.append(k);
        out.push_back('=');
    }
    void end() const { out.append("\r\n"); }
    void indexed(std::size_t i) const {
        out.append(key);
        out.push_back('[');
        appendInt(out, static_cast<int>(i));
        out.append("]=");
    }

    void operator()(std::string ServerSetup::*m, const ServerSetup& s) const {
        line(key);
        if (m == &ServerSetup::m_csSetupDescription)
            out.append(encodeDescription(s.*m));
        else
            appendOneLine(out, s.*m);
        end();
    }
    void operator()(int ServerSetup::*m, const ServerSetup& s) const {
        line(key);
        appendInt(out, s.*m);
        end();
    }
    void operator()(float ServerSetup::*m, const ServerSetup& s) const {
        line(key);
        appendFormat(out, "%4.2f", static_cast<double>(s.*m));
        end();
    }
    void operator()(std::array<int, 32> ServerSetup::*m, const ServerSetup& s) const {
        for (std::size_t i = 0; i < (s.*m).size(); ++i) {
            indexed(i);
            appendInt(out, (s.*m)[i]);
            end();
        }
    }
    template <std::size_t N>
    void operator()(std::array<std::string, N> ServerSetup::*m, const ServerSetup& s) const {
        for (std::size_t i = 0; i < N; ++i) {
            indexed(i);
            appendOneLine(out, (s.*m)[i]);
            end();
        }
    }
};

} // namespace

std::string writeSetupText(const ServerSetup& setup, SetupForm form) {
    std::string out;
    out.reserve(6144 + setup.m_csSetupDescription.size());
    for (const SetupField& field : setupFields()) {
        if (form == SetupForm::League && !field.inLeagueForm)
            continue;
        WriteVisitor visitor{out, field.key};
        std::visit([&](auto m) { visitor(m, setup); }, field.member);
    }
    return out;
}

std::string encodeDescription(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out.append("<BR>");
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            // Texts edited on this platform break lines with LF alone; dropping it would run the lines together.
            out.append("<BR>");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace kv::setups
