#include "manager/setups/MapTable.h"

#include "common/Format.h"

namespace kv::setups {

namespace {

struct BuiltinMap {
    const char* title;
    const char* file;
    int minPlayers;
    int maxPlayers;
    int defAdvantage;
    int major, minor, subMinor;
    int notValidForTournaments;
    int recommendedMaxPlayers; // above 0: a cooperative map
    const char* terrain;       // first line of advice
    const char* tactics;       // second line of advice
};

// The maps of the game as shipped; data/MapInfo.xml carries the same rows so that administrators can edit them.
const BuiltinMap kMaps[] = {
    {"Ashfall Quarry", "KV-AshfallQuarry.kvo", 4, 8, 0, 1, 0, 0, 0, 0,
     "Open terraces of a volcanic quarry with long sight lines across the pit.",
     "Snipers rule the upper rim; assault teams should move along the conveyor belts."},
    {"Brinehold Docks", "KV-BrineholdDocks.kvo", 4, 7, 1, 1, 0, 0, 0, 0,
     "Container stacks and a dry dock at night; close quarters almost everywhere.",
     "Defenders hold the crane towers, so attackers need smoke to cross the quay."},
    {"Cinder Pass", "KV-CinderPass.kvo", 3, 6, 0, 1, 0, 0, 0, 0,
     "A narrow mountain road between two checkpoints.",
     "Short rounds; flanking over the ridge decides most of them."},
    {"Dunmoor Village", "KV-DunmoorVillage.kvo", 4, 8, 1, 1, 0, 0, 0, 0,
     "Farm houses, a chapel and hedgerows around a village square.",
     "Houses give the defence an edge; attackers should clear the chapel first."},
    {"Eastgate Bridge", "KV-EastgateBridge.kvo", 5, 9, 1, 1, 0, 0, 0, 0,
     "A river crossing with a stone bridge and a ford downstream.",
     "Teams that use the ford split the defence; the bridge alone is a trap."},
    {"Fenwick Refinery", "KV-FenwickRefinery.kvo", 4, 8, 0, 1, 0, 0, 0, 0,
     "Pipelines, tanks and catwalks of a coastal refinery.",
     "Catwalks give height but little cover; grenades are decisive here."},
    {"Glasshollow", "KV-Glasshollow.kvo", 2, 5, 0, 1, 0, 0, 0, 0,
     "A small research station built into a glacier.",
     "Very fast rounds for small teams; every corridor is a choke point."},
    {"Harrow Fields", "KV-HarrowFields.kvo", 6, 10, 0, 1, 0, 0, 0, 0,
     "Wide farmland with a few barns, ditches and a grain silo.",
     "Large teams and long rounds; the silo overlooks most of the map."},
    {"Ironspire Keep", "KV-IronspireKeep.kvo", 4, 8, 1, 1, 0, 0, 0, 0,
     "An old fortress on a rock, reached by two ramps and a tunnel.",
     "Attackers should push through the tunnel while a fire team holds the ramps."},
    {"Juniper Station", "KV-JuniperStation.kvo", 3, 7, 0, 1, 0, 0, 0, 0,
     "A rail yard with a station hall and rows of freight wagons.",
     "Wagons block sight lines; move under them rather than over them."},
    {"Kestrel Airfield", "KV-KestrelAirfield.kvo", 5, 10, 0, 1, 1, 0, 0, 0,
     "Hangars and a control tower on a windswept airstrip.",
     "The runway is a killing ground; cross it only under smoke."},
    {"Larkspur Market", "KV-LarkspurMarket.kvo", 4, 8, 0, 1, 1, 0, 0, 0,
     "Covered market streets and rooftops of an old town.",
     "Rooftop routes are quick but loud; listen for footsteps."},
    {"Mireside Outpost", "KV-MiresideOutpost.kvo", 3, 6, 1, 1, 1, 0, 0, 0,
     "A fortified outpost at the edge of a swamp.",
     "Movement in the water is slow; defenders should watch the boardwalks."},
    {"Northwatch Ridge", "KV-NorthwatchRidge.kvo", 5, 9, 0, 1, 1, 0, 0, 0,
     "A radar station on a snowy ridge with trenches below it.",
     "The trenches connect both bases; control them to control the round."},
    {"Oldmere Sewers", "KV-OldmereSewers.kvo", 2, 6, 0, 1, 1, 0, 0, 0,
     "Tunnels and pump rooms below a city, lit by emergency lamps.",
     "Flash-bangs are very strong in the tunnels; night vision helps."},
    {"Pale Harbour", "KV-PaleHarbour.kvo", 4, 8, 0, 1, 1, 0, 0, 0,
     "A fishing harbour with warehouses, a lighthouse and moored boats.",
     "The lighthouse sees everything but is easy to flank from the pier."},
    {"Quillon Heights", "KV-QuillonHeights.kvo", 5, 10, 1, 1, 1, 0, 0, 0,
     "Terraced vineyards climbing to a hilltop manor.",
     "Attackers fight uphill; use the walls between the terraces as cover."},
    {"Redwater Dam", "KV-RedwaterDam.kvo", 4, 9, 1, 1, 1, 0, 0, 0,
     "A hydroelectric dam with a turbine hall and a spillway.",
     "The dam crest is the shortest route and the most dangerous one."},
    {"Saltmarsh Depot", "KV-SaltmarshDepot.kvo", 3, 7, 0, 1, 1, 0, 0, 0,
     "Fuel depot on tidal flats, with a pumping station and a jetty.",
     "Low ground everywhere; the pumping station roof decides long fights."},
    {"Thornbury Estate", "KV-ThornburyEstate.kvo", 3, 6, 1, 1, 1, 0, 0, 0,
     "A country house with gardens, a maze and a greenhouse.",
     "Fights inside the house are short and brutal; clear room by room."},
    {"Underkeep", "KV-Underkeep.kvo", 2, 5, 0, 1, 2, 0, 0, 0,
     "Cellars and crypts below a ruined castle.",
     "Small teams only; a single grenade can end a round."},
    {"Vantage Point", "KV-VantagePoint.kvo", 4, 8, 0, 1, 2, 0, 0, 0,
     "A mountain observatory reached by a cable car and a footpath.",
     "Whoever holds the dome holds the map; attack it from two sides at once."},
    {"Westfold Crossing", "KV-WestfoldCrossing.kvo", 5, 10, 0, 1, 2, 0, 0, 0,
     "A border post on a highway with customs sheds and a truck park.",
     "Trucks can be crossed underneath; the customs roof is exposed."},
    {"Yarrow Mill", "KV-YarrowMill.kvo", 3, 7, 1, 1, 2, 0, 0, 0,
     "A water mill and its sheds on a wooded stream.",
     "The mill floors give the defence height; use the stream bank to close in."},
    {"Zephyr Labs", "KV-ZephyrLabs.kvo", 4, 8, 0, 1, 2, 0, 0, 0,
     "Clean rooms, laboratories and an atrium of a research centre.",
     "Glass walls reveal movement; plan routes through the service corridors."},
    {"Amberfall Canyon", "KV-AmberfallCanyon.kvo", 6, 10, 0, 1, 2, 0, 1, 0,
     "A desert canyon several kilometres long with a river at the bottom.",
     "Very large; rounds run long and teams spread thin, so it suits public play."},
    {"Blackfen Asylum", "KV-BlackfenAsylum.kvo", 2, 6, 1, 1, 2, 0, 0, 0,
     "An abandoned hospital with long wards and a courtyard.",
     "Sound carries along the wards; move slowly and use the stairwells."},
    {"Coldharbour Yards", "KV-ColdharbourYards.kvo", 4, 9, 0, 2, 0, 0, 0, 0,
     "Shipyard slipways with a half-built hull and gantry cranes.",
     "The hull interior is a maze; teams that know it win there."},
    {"Driftwood Cove", "KV-DriftwoodCove.kvo", 3, 7, 0, 2, 0, 0, 0, 0,
     "A smugglers' beach with caves, a boathouse and cliff paths.",
     "The caves link both ends of the beach; defend their exits."},
    {"Emberline Foundry", "KV-EmberlineFoundry.kvo", 4, 8, 1, 2, 0, 0, 0, 0,
     "A steel foundry with furnaces, ladles on rails and casting pits.",
     "Heat haze hides movement near the furnaces; watch the casting floor."},
    {"Frostmere Lodge", "KV-FrostmereLodge.kvo", 2, 5, 0, 2, 0, 0, 0, 0,
     "A hunting lodge by a frozen lake, with a boat shed and a sauna.",
     "Tiny and fast; the frozen lake is open ground for anyone who crosses it."},
    {"Gallowmoor Training Ground", "KV-GallowmoorTraining.kvo", 2, 10, 0, 2, 0, 0, 1, 0,
     "A training range with practice houses, a firing range and an obstacle course.",
     "Made for practice and new players; play it with MILES gameplay."},
    {"Hollowcrest Mine", "KV-HollowcrestMine.kvo", 3, 7, 1, 2, 1, 0, 0, 0,
     "Mine shafts, a lift cage and the pithead buildings above them.",
     "The lift is a trap; use the ladders and the ventilation shafts."},
    {"Isenward Citadel", "KV-IsenwardCitadel.kvo", 5, 10, 1, 2, 1, 0, 0, 0,
     "A star-shaped fortress with bastions, a moat and a parade ground.",
     "Attackers need to take one bastion first; the moat is open to fire from all sides."},
    {"Nightfall Convoy", "KV-CoopNightfallConvoy.kvo", 2, 6, 0, 2, 1, 0, 1, 8,
     "Cooperative: escort a convoy through a forest road at night.",
     "Computer-controlled ambushes come from both sides; keep two players at the rear."},
    {"Stonewake Rescue", "KV-CoopStonewakeRescue.kvo", 2, 6, 0, 2, 1, 0, 1, 6,
     "Cooperative: free hostages held in a mountain village.",
     "Opponents react to noise; suppressed weapons and patience pay off."},
    {"Tidebreak Platform", "KV-CoopTidebreakPlatform.kvo", 3, 8, 0, 2, 1, 3, 1, 12,
     "Cooperative: retake an offshore platform deck by deck.",
     "Fights are vertical; clear each deck completely before moving on."},
    {"Umbral Archive", "KV-CoopUmbralArchive.kvo", 2, 5, 0, 2, 1, 3, 1, 4,
     "Cooperative: recover documents from a guarded underground archive.",
     "A small team moving quietly does better than a large loud one."},
    {"Verdant Ruins", "KV-VerdantRuins.kvo", 4, 8, 0, 2, 1, 3, 0, 0,
     "Jungle-covered temple ruins with a river and rope bridges.",
     "Foliage hides players well; thermal optics and patience win rounds."},
};

std::string describe(const BuiltinMap& m) {
    std::string text = format("%s\r\n%s\r\n", m.terrain, m.tactics);
    if (m.recommendedMaxPlayers > 0)
        appendFormat(text, "Plays best with %d to %d players; at most %d players against the opponents.\r\n",
                     m.minPlayers, m.maxPlayers, m.recommendedMaxPlayers);
    else
        appendFormat(text, "Plays best with %d to %d players on each team.\r\n", m.minPlayers, m.maxPlayers);
    text.append(m.notValidForTournaments ? "Not suited to tournaments.\r\n" : "Suited to tournaments.\r\n");
    return text;
}

} // namespace

MapTable MapTable::builtIn() {
    MapTable table;
    int image = 201;
    std::size_t index = 0;
    for (const BuiltinMap& m : kMaps) {
        MapInfo& row = table.rows_[index++];
        row.title = m.title;
        row.name = m.file;
        row.description = describe(m);
        row.imageId = image++;
        row.minPlayers = m.minPlayers;
        row.maxPlayers = m.maxPlayers;
        row.defAdvantage = m.defAdvantage;
        row.requiredMajorVersion = m.major;
        row.requiredMinorVersion = m.minor;
        row.requiredSubMinorVersion = m.subMinor;
        row.notValidForTournaments = m.notValidForTournaments;
        row.gamePlayType = m.recommendedMaxPlayers > 0 ? 1 : 0;
        row.recommendedMaxPlayers = m.recommendedMaxPlayers;
    }
    return table;
}

} // namespace kv::setups
