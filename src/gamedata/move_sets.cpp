#include "gamedata/move_sets.h"

namespace zorvik {

namespace {

// clang-format off
constexpr MoveRow kMoveTable[] = {
    /*  1 */ {{"bulbasaur", "ivysaur", "venusaur"},       {"tackle", "vinewhip", "razorleaf", "solarbeam"}},
    /*  2 */ {{"charmander", "charmeleon", "charizard"},  {"ember", "flamethrower", "firespin", "fireblast"}},
    /*  3 */ {{"squirtle", "wartortle", "blastoise"},     {"tackle", "bubble", "watergun", "hydropump"}},
    /*  4 */ {{"caterpie", "metapod", "butterfree"},      {"tackle", "confusion", "poisonpowder", "psybeam"}},
    /*  5 */ {{"weedle", "kakuna", "beedrill"},           {"poisonsting", "twineedle", "pinmissile", "agility"}},
    /*  6 */ {{"pidgey", "pidgeotto", "pidgeot"},         {"gust", "quickattack", "wingattack", "agility"}},
    /*  7 */ {{"rattata", "raticate"},                    {"tackle", "tailwhip", "quickattack", "superfang"}},
    /*  8 */ {{"spearow", "fearow"},                      {"peck", "furyattack", "drillpeck", "agility"}},
    /*  9 */ {{"ekans", "arbok"},                         {"wrap", "poisonsting", "bite", "acid"}},
    /* 10 */ {{"pikachu", "raichu"},                      {"thundershock", "thunderwave", "swift", "thunder"}},
    /* 11 */ {{"sandshrew", "sandslash"},                 {"scratch", "slash", "swift", "furyswipes"}},
    /* 12 */ {{"nidoran", "nidorina", "nidoqueen"},       {"tackle", "bodyslam", "furyswipes", "doublekick"}},
    /* 13 */ {{"nidorino", "nidoking"},                   {"tackle", "hornattack", "horndrill", "doublekick"}},
    /* 14 */ {{"clefairy", "clefable"},                   {"tackle", "pound", "doubleslap", "metronome"}},
    /* 15 */ {{"vulpix", "ninetails"},                    {"ember", "flamethrower", "firespin", "fireblast"}},
    /* 16 */ {{"jigglypuff", "wigglytuff"},               {"pound", "doubleslap", "bodyslam", "doubleedge"}},
    /* 17 */ {{"zubat", "golbat"},                        {"supersonic", "bite", "wingattack", "haze"}},
    /* 18 */ {{"oddish", "gloom", "vileplume"},           {"poisonpowder", "acid", "petaldance", "solarbeam"}},
    /* 19 */ {{"paras", "parasect"},                      {"scratch", "stunspore", "spore", "slash"}},
    /* 20 */ {{"venonat", "venomoth"},                    {"tackle", "poisonpowder", "psybeam", "psychic"}},
    /* 21 */ {{"diglett", "dugtrio"},                     {"scratch", "dig", "slash", "earthquake"}},
    /* 22 */ {{"meowth", "persian"},                      {"scratch", "bite", "payday", "furyswipes"}},
    /* 23 */ {{"psyduck", "golduck"},                     {"scratch", "tailwhip", "confusion", "hydropump"}},
    /* 24 */ {{"mankey", "primeape"},                     {"scratch", "karatechop", "furyswipes", "seismictoss"}},
    /* 25 */ {{"growlithe", "arcanine"},                  {"bite", "ember", "flamethrower", "fireblast"}},
    /* 26 */ {{"poliwag", "poliwhirl", "poliwrath"},      {"bubble", "watergun", "concentrate", "hydropump"}},
    /* 27 */ {{"abra", "kadabra", "alakazam"},            {"confusion", "psybeam", "psywave", "psychic"}},
    /* 28 */ {{"machop", "machoke", "machamp"},           {"karatechop", "lowkick", "seismictoss", "submission"}},
    /* 29 */ {{"bellsprout", "weepinbell", "victreebel"}, {"vinewhip", "poisonpowder", "razorleaf", "slam"}},
    /* 30 */ {{"tentacool", "tentacruel"},                {"supersonic", "wrap", "watergun", "hydropump"}},
    /* 31 */ {{"geodude", "graveler", "golem"},           {"tackle", "rockthrow", "rockslide", "earthquake"}},
    /* 32 */ {{"ponyta", "rapidash"},                     {"ember", "stomp", "firespin", "agility"}},
    /* 33 */ {{"slowpoke", "slowbro"},                    {"confusion", "watergun", "amnesia", "psychic"}},
    /* 34 */ {{"magnemite", "magneton"},                  {"tackle", "thundershock", "thunderwave", "swift"}},
    /* 35 */ {{"farfetch'd"},                             {"peck", "swordsdance", "agility", "slash"}},
    /* 36 */ {{"doduo", "dodrio"},                        {"peck", "drillpeck", "rage", "triattack"}},
    /* 37 */ {{"seel", "dewgong"},                        {"headbutt", "aurorabeam", "takedown", "icebeam"}},
    /* 38 */ {{"grimer", "muk"},                          {"tackle", "pound", "poisongas", "sludge"}},
    /* 39 */ {{"shellder", "cloyster"},                   {"tackle", "aurorabeam", "icebeam", "spikecannon"}},
    /* 40 */ {{"gastly", "haunter", "gengar"},            {"lick", "nightshade", "hypnosis", "dreameater"}},
    /* 41 */ {{"onix"},                                   {"tackle", "rockthrow", "rage", "slam"}},
    /* 42 */ {{"drowzee", "hypno"},                       {"pound", "hypnosis", "confusion", "psychic"}},
    /* 43 */ {{"krabby", "kingler"},                      {"bubble", "guillotine", "stomp", "crabhammer"}},
    /* 44 */ {{"voltorb", "electrode"},                   {"tackle", "sonicboom", "selfdestruct", "eplosion"}},
    /* 45 */ {{"exeggcute", "exeggutor"},                 {"barrage", "hypnosis", "stomp", "solarbeam"}},
    /* 46 */ {{"cubone", "marowak"},                      {"boneclub", "thrash", "bonemerang", "rage"}},
    /* 47 */ {{"hitmonlee"},                              {"doublekick", "rollingkick", "jumpkick", "hijumpkick"}},
    /* 48 */ {{"hitmonchan"},                             {"cometpunch", "firepunch", "icepunch", "thunderpunch"}},
    /* 49 */ {{"lickitung"},                              {"tackle", "wrap", "supersonic", "slam"}},
    /* 50 */ {{"koffing", "weezing"},                     {"tackle", "smog", "sludge", "smokescreen"}},
    /* 51 */ {{"rhyhorn", "rhydon"},                      {"hornattack", "stomp", "tailwhip", "horndrill"}},
    /* 52 */ {{"chansey"},                                {"tackle", "pound", "doubleslap", "doubleedge"}},
    /* 53 */ {{"tangela"},                                {"constrict", "poisonpowder", "stunspore", "slam"}},
    /* 54 */ {{"kangaskhan"},                             {"cometpunch", "rage", "megapunch", "dizzypunch"}},
    /* 55 */ {{"horsea", "seadra"},                       {"bubble", "watergun", "agility", "hydropump"}},
    /* 56 */ {{"goldeen", "seaking"},                     {"peck", "hornattack", "waterfall", "horndrill"}},
    /* 57 */ {{"staryu", "starmie"},                      {"tackle", "watergun", "swift", "hydropump"}},
    /* 58 */ {{"mr.mime"},                                {"confusion", "doubleslap", "meditate", "substitute"}},
    /* 59 */ {{"scyther"},                                {"quickattack", "doubleteam", "swordsdance", "agility"}},
    /* 60 */ {{"jynx"},                                   {"pound", "lick", "icepunch", "blizzard"}},
    /* 61 */ {{"electabuzz"},                             {"quickattack", "thundershock", "thunderpunch", "thunder"}},
    /* 62 */ {{"magmar"},                                 {"ember", "firepunch", "smog", "flamethrower"}},
    /* 63 */ {{"pinsir"},                                 {"vicegrip", "seismictoss", "guillotine", "swordsdance"}},
    /* 64 */ {{"tauros"},                                 {"tackle", "stomp", "rage", "takedown"}},
    /* 65 */ {{"magikarp", "gyarados"},                   {"tackle", "dragonrage", "hydropump", "hyperbeam"}},
    /* 66 */ {{"lapras"},                                 {"watergun", "mist", "icebeam", "hydropump"}},
    /* 67 */ {{"ditto", "eevee"},                         {"tackle", "scratch", "slash", "bite"}},
    /* 68 */ {{"vaporeon"},                               {"watergun", "haze", "mist", "hydropump"}},
    /* 69 */ {{"jolteon"},                                {"thundershock", "thunderwave", "pinmissile", "thunder"}},
    /* 70 */ {{"flareon"},                                {"ember", "firespin", "flamethrower", "fireblast"}},
    /* 71 */ {{"porygon"},                                {"tackle", "psybeam", "agility", "triattack"}},
    /* 72 */ {{"omanyte", "omastar"},                     {"watergun", "hornattack", "spikecannon", "hydropump"}},
    /* 73 */ {{"kabuto", "kabutops"},                     {"scratch", "bubblebeam", "watergun", "hydropump"}},
    /* 74 */ {{"aerodactyl"},                             {"wingattack", "agility", "supersonic", "hyperbeam"}},
    /* 75 */ {{"snorlax"},                                {"headbutt", "amnesia", "bodyslam", "hyperbeam"}},
    /* 76 */ {{"articuno"},                               {"peck", "icebeam", "blizzard", "mist"}},
    /* 77 */ {{"zapdos"},                                 {"thundershock", "drillpeck", "thunder", "agility"}},
    /* 78 */ {{"moltres"},                                {"peck", "firespin", "skyattack", "fireblast"}},
    /* 79 */ {{"dratini", "dragonair", "dragonite"},      {"wrap", "thunderwave", "dragonrage", "hyperbeam"}},
    /* 80 */ {{"mewtwo"},                                 {"psybeam", "psychic", "mist", "amnesia"}},
    /* 81 */ {{"mew"},                                    {"psybeam", "psychic", "mist", "amnesia"}},
};
// clang-format on

}  // namespace

std::span<const MoveRow> MoveTable() {
  return kMoveTable;
}

void AddMoveSet(std::string_view name, std::vector<std::string>& move_list) {
  for (const MoveRow& row : kMoveTable) {
    for (std::string_view creature : row.creatures) {
      // Empty slots pad short rows; they name no creature.
      if (creature.empty() || creature != name) continue;
      move_list.insert(move_list.end(), row.moves.begin(), row.moves.end());
      return;
    }
  }
}

}  // namespace zorvik
