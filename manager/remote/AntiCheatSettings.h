#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::remote {

// One setting that the anti-cheat option editor offers: the name as written into an option file, the placeholder
// written after it, and what it does (with its default where it has one).
struct AntiCheatSetting {
    std::string_view name;
    std::string_view syntax;
    std::string_view description;
};

// Every offered setting, in the designed order; the first is the switch that the game's own option file holds.
std::span<const AntiCheatSetting> antiCheatSettings();

// Rows of the table that the editor offers for `optionFile`: the game's own file ("pbsvgame.cfg", any letter case)
// offers only the first row, every other file all the others.
std::vector<std::size_t> offeredSettings(std::string_view optionFile);

// The description box for a row: syntax, then description, lines ending in "\n".
std::string settingDescriptionText(const AntiCheatSetting& setting);

// What a double click appends to the editor's text: a line of its own with the name and the placeholder. The
// first row's name ends in a blank, so its line has two blanks before the placeholder, as administrators know it.
std::string appendedSettingLine(const AntiCheatSetting& setting);

} // namespace kv::remote
