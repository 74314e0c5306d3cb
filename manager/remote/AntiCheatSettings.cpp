#include "manager/remote/AntiCheatSettings.h"

#include "common/Text.h"

namespace kv::remote {

namespace {

// The descriptions after the first two are our own words; each states the default the anti-cheat server uses.
constexpr AntiCheatSetting kSettings[] = {
    {"sv_punkbuster ", "[0/1]", "Set to 1 to enable PunkBuster.  0 disables PunkBuster."},
    {"PB_SV_AutoSs", "[0/1]",
     "Set to 1 (default is 0) if you want the PB server to regularly retrieve screen shots from connected players."},
    {"PB_SV_AutoSsFrom", "[Seconds]",
     "The shortest time between two automatic screen shots of a player (default is 60 seconds)."},
    {"PB_SV_AutoSsTo", "[Seconds]",
     "The longest time between two automatic screen shots of a player (default is 1200 seconds, 20 minutes)."},
    {"PB_SV_ChangePeriod", "[1-999]",
     "The period in seconds over which changes of player names are counted against PB_SV_ChangeMax."},
    {"PB_SV_ChangeMax", "[1-50]",
     "How many name changes a player may make within PB_SV_ChangePeriod before being removed from the server."},
    {"PB_SV_CQC", "[0/1]",
     "Set to 1 (default is 1) to let players check the anti-cheat state of the server from their console."},
    {"PB_SV_CvarFreq", "[Number]",
     "How many times per minute the game variables of each player are checked (default is 6 per minute)."},
    {"PB_SV_CvarLogging", "[0/1/2/3]",
     "How much of the game variable checks is written to the anti-cheat log: 0 nothing, 3 everything."},
    {"PB_SV_DupNameGrace", "[Seconds]",
     "How long a player may keep the same name as another player before being removed; 0 allows duplicate names."},
    {"PB_SV_EmptyName", "[0/1]", "Set to 1 to allow players with an empty name, 0 to refuse them."},
    {"PB_SV_ExtChar", "[0/1]", "Set to 1 to allow extended characters in player names, 0 to refuse them."},
    {"PB_SV_GameAuth", "[0/1]",
     "Set to 1 (default is 1) to require that players are authorised by the KV:O server before they may play."},
    {"PB_SV_KickLen", "[Minutes]",
     "How long a player removed by the anti-cheat server must wait before joining again (default is 2 minutes)."},
    {"PB_SV_LanMask", "[IP Subnet Mask]",
     "The address range treated as the local network; players from it are handled as local players."},
    {"PB_SV_LogAddr", "[Address / Internet Hostname]",
     "The address of a log server that receives the anti-cheat log; empty sends no log."},
    {"PB_SV_LogCeiling", "[Number]",
     "The highest number used in log file names; numbering starts again after it (default is 1000)."},
    {"PB_SV_LogNext", "[Number]", "The number of the next log file to be written."},
    {"PB_SV_LogPort", "[Port #]", "The port of the log server named by PB_SV_LogAddr."},
    {"PB_SV_LogPw", "[Password]", "The password for the log server named by PB_SV_LogAddr."},
    {"PB_SV_LogSync", "[0/1]", "Set to 1 to write each log line to disk at once, 0 to let the system buffer them."},
    {"PB_SV_LogUser", "[Username]", "The user name for the log server named by PB_SV_LogAddr."},
    {"PB_SV_MaxConDls", "[Number]",
     "How many players may download anti-cheat updates from the server at the same time (default is 3)."},
    {"PB_SV_MaxDlRate", "[KB/sec]",
     "The highest rate at which each player downloads anti-cheat updates from the server (default is 1 KB/sec)."},
    {"PB_SV_MinName", "[0-4]", "The fewest characters a player name must have; 0 allows any length."},
    {"PB_SV_MsgPrefix", "[New Prefix]", "The text put before every message that the anti-cheat server shows."},
    {"PB_SV_NoGuidGrace", "[Seconds]",
     "How long a player without a valid identity may stay on the server (default is 1 second)."},
    {"PB_SV_PowerDef", "[power points]", "The power points that a player gets on joining (default is 1)."},
    {"PB_SV_PowerKickLen", "[minutes]",
     "How long a player removed by a player vote must wait before joining again (default is 5 minutes)."},
    {"PB_SV_PowerMin", "[power points]",
     "The power points that players together need to remove another player by vote (default is 10)."},
    {"PB_SV_ScoreKick", "[low_negative_score]",
     "A player whose score falls to this negative value is removed from the server; 0 turns it off."},
    {"PB_SV_Sleep", "[Period]", "How long the anti-cheat server waits between rounds of its checks."},
    {"PB_SV_SsCeiling", "[Number]",
     "The highest number used in screen shot file names; numbering starts again after it (default is 100)."},
    {"PB_SV_SsCmd", "[Filename]", "A program or script run after each screen shot is stored."},
    {"PB_SV_SsDelay", "[Seconds]", "A random delay of up to this many seconds before a screen shot is taken."},
    {"PB_SV_SsFloor", "[Number]", "The lowest number used in screen shot file names (default is 1)."},
    {"PB_SV_SsHeight", "[Pixels]", "The height of a screen shot (default is 240 pixels)."},
    {"PB_SV_SsNext", "[Number]", "The number of the next screen shot to be stored."},
    {"PB_SV_SsPath", "[Path]",
     "The folder where screen shots are stored; empty stores them in the anti-cheat server's own folder."},
    {"PB_SV_SsSRate", "[Number]", "Keeps every n-th line of a screen shot; 1 keeps the full picture."},
    {"PB_SV_SsWidth", "[Pixels]", "The width of a screen shot (default is 320 pixels)."},
    {"PB_SV_SsXPct", "[Percentage]",
     "Where the centre of a screen shot lies across the player's screen, from the left (default is 50%)."},
    {"PB_SV_SsYPct", "[Percentage]",
     "Where the centre of a screen shot lies down the player's screen, from the top (default is 50%)."},
    {"PB_SV_UpdateGrace", "[Seconds]",
     "How long a player may take to fetch an anti-cheat update before being removed (default is 600 seconds)."},
};

constexpr std::string_view kGameOptionFile = "pbsvgame.cfg";

} // namespace

std::span<const AntiCheatSetting> antiCheatSettings() {
    return kSettings;
}

std::vector<std::size_t> offeredSettings(std::string_view optionFile) {
    if (equalsNoCase(optionFile, kGameOptionFile))
        return {0};
    std::vector<std::size_t> rows;
    for (std::size_t row = 1; row < std::size(kSettings); ++row)
        rows.push_back(row);
    return rows;
}

std::string settingDescriptionText(const AntiCheatSetting& setting) {
    std::string text = "Syntax:\n";
    text.append(setting.name).append(" ").append(setting.syntax);
    text.append("\n\nDescription:\n").append(setting.description);
    return text;
}

std::string appendedSettingLine(const AntiCheatSetting& setting) {
    std::string line = "\n";
    line.append(setting.name).append(" ").append(setting.syntax).append("\n");
    return line;
}

} // namespace kv::remote
