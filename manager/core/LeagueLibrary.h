#pragma once

#include "manager/setups/ServerSetup.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::core {

// The league configurations of one working folder: LeagueInfo/<title>.dat (a setup in league form) with its page
// LeagueInfo/<title>.html. League files arrive from leagues and by e-mail, so their names are checked before any of
// them becomes a path.
class LeagueLibrary {
public:
    static constexpr std::string_view kCustomPrefix = "(Custom) ";
    static constexpr std::string_view kInstructionsPage = "Instructions.html";
    static constexpr std::string_view kStyleSheet = "LeagueInfoStyle.css";

    explicit LeagueLibrary(std::string workingFolder);

    std::string folder() const;
    // Titles of the .dat files, sorted without regard to case; titles that could not be used as a name are left out.
    // Empty when the folder is missing.
    std::vector<std::string> names() const;
    // The files of a league; empty for a title that cannot be a file name.
    std::string leagueFile(std::string_view title) const;
    std::string pageFile(std::string_view title) const;
    std::string instructionsFile() const;

    // The listed title that equals `title` without regard to case, or empty: leagues differing only in case are one.
    std::string existing(std::string_view title) const;

    // "(Custom) <entered>" for a name the administrator entered; empty when the result cannot be a file name.
    static std::string customTitle(std::string_view entered);
    // "<league> (TM) 6v6 3 rounds 10 minutes": what the custom league window proposes for a setup.
    static std::string suggestedName(const setups::ServerSetup& setup);
    // Our page for a custom league: the title in bold italics over the description, both HTML-escaped, each line
    // break of the description a <BR>.
    static std::string customPage(std::string_view title, std::string_view description);

    struct Written {
        bool ok = false;
        std::string title;   // the league's title as listed
        std::string message; // why nothing (or not everything) was written
    };
    // Writes the setup in league form, naming the league, as the custom league "(Custom) <entered>", then its page. A
    // league already listed under the same name in another letter case is replaced in place. Creates a missing
    // LeagueInfo folder.
    Written writeCustom(const setups::ServerSetup& setup, std::string_view entered, std::string_view description) const;

private:
    std::string workingFolder_;
};

} // namespace kv::core
