#include "manager/setups/SetupReader.h"

#include "common/DecimalNumber.h"
#include "common/LineReader.h"
#include "common/Text.h"
#include "manager/setups/SetupFields.h"

#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>
#include <unordered_map>

namespace kv::setups {

namespace {

constexpr std::string_view kLegalGroupsPrefix = "m_aiLegalGroups[";
constexpr std::size_t kLongestKey = 64;

struct Target {
    const SetupField* field = nullptr; // nullptr: LeagueMap=
    std::size_t index = 0;             // element of an array field
};

// Every key matches only up to its "=", and no key contains "=", so the first key in reading order that matches a
// line is exactly the one equal (case folded) to the text before the line's first "=". One hash lookup therefore
// gives the same answer as trying the keys in order.
class KeyIndex {
public:
    KeyIndex() {
        names_.reserve(200);
        add("leaguemap", Target{});
        for (const SetupField& field : setupFields()) {
            std::visit(
                [&](auto m) {
                    using M = decltype(m);
                    if constexpr (std::is_same_v<M, std::array<int, 32> ServerSetup::*>) {
                        // Legal groups are matched by their prefix, not by exact key.
                    } else if constexpr (std::is_same_v<M, std::string ServerSetup::*> ||
                                         std::is_same_v<M, int ServerSetup::*> ||
                                         std::is_same_v<M, float ServerSetup::*>) {
                        add(toLowerAscii(field.key), Target{&field, 0});
                    } else {
                        using Array = std::remove_reference_t<decltype(std::declval<ServerSetup&>().*m)>;
                        for (std::size_t i = 0; i < std::tuple_size_v<Array>; ++i)
                            add(toLowerAscii(field.key) + "[" + std::to_string(i) + "]", Target{&field, i});
                    }
                },
                field.member);
        }
    }

    const Target* find(std::string_view lowerKey) const {
        auto it = map_.find(lowerKey);
        return it == map_.end() ? nullptr : &it->second;
    }

private:
    void add(std::string key, Target target) {
        names_.push_back(std::make_unique<std::string>(std::move(key)));
        // try_emplace keeps the first entry of a key that the table lists twice.
        map_.try_emplace(*names_.back(), target);
    }

    std::vector<std::unique_ptr<std::string>> names_;
    std::unordered_map<std::string_view, Target> map_;
};

const KeyIndex& keyIndex() {
    static const KeyIndex index;
    return index;
}

struct AssignVisitor {
    ServerSetup& setup;
    std::size_t index;
    std::string_view value;

    void operator()(std::string ServerSetup::*m) const {
        if (m == &ServerSetup::m_csSetupDescription)
            setup.*m = decodeDescription(value);
        else
            (setup.*m).assign(value);
    }
    void operator()(int ServerSetup::*m) const { setup.*m = parseDecimalInt(value); }
    void operator()(float ServerSetup::*m) const { setup.*m = static_cast<float>(parseDecimalDouble(value)); }
    void operator()(std::array<int, 32> ServerSetup::*) const {}
    template <std::size_t N>
    void operator()(std::array<std::string, N> ServerSetup::*m) const {
        if (index < N)
            (setup.*m)[index].assign(value);
    }
};

void applyLegalGroup(std::string_view line, std::size_t equals, ServerSetup& setup) {
    int slot = parseDecimalInt(line.substr(kLegalGroupsPrefix.size()));
    if (slot < 0 || slot >= static_cast<int>(setup.m_aiLegalGroups.size()))
        return;
    setup.m_aiLegalGroups[static_cast<std::size_t>(slot)] = parseDecimalInt(line.substr(equals + 1));
}

} // namespace

void applySetupLine(std::string_view line, ServerSetup& setup) {
    const void* found = line.empty() ? nullptr : std::memchr(line.data(), '=', line.size());
    if (!found)
        return; // no key matches a line without "="
    std::size_t equals = static_cast<std::size_t>(static_cast<const char*>(found) - line.data());
    if (startsWithNoCase(line, kLegalGroupsPrefix)) {
        applyLegalGroup(line, equals, setup);
        return;
    }
    if (equals > kLongestKey)
        return;
    char lower[kLongestKey];
    for (std::size_t i = 0; i < equals; ++i)
        lower[i] = toLowerAscii(line[i]);
    const Target* target = keyIndex().find(std::string_view(lower, equals));
    if (!target)
        return;
    std::string_view value = line.substr(equals + 1);
    if (!target->field) {
        setup.leagueMapList.emplace_back(value);
        return;
    }
    std::visit(AssignVisitor{setup, target->index, value}, target->field->member);
}

bool readSetupLines(std::string_view bytes, ServerSetup& setup) {
    LineReader reader(bytes);
    std::string line;
    while (reader.next(line, kMaxSetupLine, LineReader::Break::CrLf))
        applySetupLine(line, setup);
    return !setup.m_csName.empty();
}

std::string decodeDescription(std::string_view stored) {
    std::string text = replaceAll(stored, "<BR>", "\r\n");
    text.resize(trimRight(text).size());
    return text;
}

} // namespace kv::setups
