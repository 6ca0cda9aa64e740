#include "gamedata/roster.h"

namespace zorvik {

const std::array<std::string_view, kRosterSize>& Roster() {
  // Ten names a row. Players must type these exactly: "ninetails",
  // "victreebel", "farfetch'd" and "mr.mime" included.
  static constexpr std::array<std::string_view, kRosterSize> kRoster = {
      "bulbasaur",  "ivysaur",    "venusaur",   "charmander", "charmeleon",  // 1-5
      "charizard",  "squirtle",   "wartortle",  "blastoise",  "caterpie",    // 6-10
      "metapod",    "butterfree", "weedle",     "kakuna",     "beedrill",    // 11-15
      "pidgey",     "pidgeotto",  "pidgeot",    "rattata",    "raticate",    // 16-20
      "spearow",    "fearow",     "ekans",      "arbok",      "pikachu",     // 21-25
      "raichu",     "sandshrew",  "sandslash",  "nidorina",   "nidoqueen",   // 26-30
      "nidoran",    "nidorino",   "nidoking",   "clefairy",   "clefable",    // 31-35
      "vulpix",     "ninetails",  "jigglypuff", "wigglytuff", "zubat",       // 36-40
      "golbat",     "oddish",     "gloom",      "vileplume",  "paras",       // 41-45
      "parasect",   "venonat",    "venomoth",   "diglett",    "dugtrio",     // 46-50
      "meowth",     "persian",    "psyduck",    "golduck",    "mankey",      // 51-55
      "primeape",   "growlithe",  "arcanine",   "poliwag",    "poliwhirl",   // 56-60
      "poliwrath",  "abra",       "kadabra",    "alakazam",   "machop",      // 61-65
      "machoke",    "machamp",    "bellsprout", "weepinbell", "victreebel",  // 66-70
      "tentacool",  "tentacruel", "geodude",    "graveler",   "golem",       // 71-75
      "ponyta",     "rapidash",   "slowpoke",   "slowbro",    "magnemite",   // 76-80
      "magneton",   "farfetch'd", "doduo",      "dodrio",     "seel",        // 81-85
      "dewgong",    "grimer",     "muk",        "shellder",   "cloyster",    // 86-90
      "gastly",     "haunter",    "gengar",     "onix",       "drowzee",     // 91-95
      "hypno",      "krabby",     "kingler",    "voltorb",    "electrode",   // 96-100
      "exeggcute",  "exeggutor",  "cubone",     "marowak",    "hitmonlee",   // 101-105
      "hitmonchan", "lickitung",  "koffing",    "weezing",    "rhyhorn",     // 106-110
      "rhydon",     "chansey",    "tangela",    "kangaskhan", "horsea",      // 111-115
      "seadra",     "goldeen",    "seaking",    "staryu",     "starmie",     // 116-120
      "mr.mime",    "scyther",    "jynx",       "electabuzz", "magmar",      // 121-125
      "pinsir",     "tauros",     "magikarp",   "gyarados",   "lapras",      // 126-130
      "ditto",      "eevee",      "vaporeon",   "jolteon",    "flareon",     // 131-135
      "porygon",    "omanyte",    "omastar",    "kabuto",     "kabutops",    // 136-140
      "aerodactyl", "snorlax",    "articuno",   "zapdos",     "moltres",     // 141-145
      "dratini",    "dragonair",  "dragonite",  "mewtwo",     "mew",         // 146-150
  };
  return kRoster;
}

}  // namespace zorvik
