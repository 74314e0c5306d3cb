#pragma once

#include "manager/setups/ServerSetup.h"

#include <span>
#include <string_view>
#include <variant>

namespace kv::setups {

// One persisted field of a setup: its key, where it lives in the record, its default and whether the league form
// writes it. The table of all fields is in file order, so reset, reading and both writers share one list.
struct SetupField {
    using Member = std::variant<std::string ServerSetup::*, int ServerSetup::*, float ServerSetup::*,
                                std::array<int, 32> ServerSetup::*, std::array<std::string, 20> ServerSetup::*,
                                std::array<std::string, 4> ServerSetup::*, std::array<std::string, 2> ServerSetup::*>;

    std::string_view key; // without "=" and without an index
    Member member;
    bool inLeagueForm = false;
    std::string_view textDefault; // strings
    int intDefault = 0;           // integers, flags, every slot of an integer array
    float floatDefault = 0;
};

// Every persisted field in the order the full form writes them (the description last). m_fMuteSpectators appears
// twice, as the file carries it twice.
std::span<const SetupField> setupFields();

} // namespace kv::setups
