#include "gamedata/move_sets.h"

#include <map>
#include <set>

#include <gtest/gtest.h>

#include "gamedata/roster.h"

namespace zorvik {
namespace {

using Moves = std::vector<std::string>;

// The roster is the whole vocabulary of picks: fixed positions that players
// and the lookup depend on, and no name twice.
TEST(RosterTest, HoldsTheNamesInTheirOrder) {
  const auto& roster = Roster();
  EXPECT_EQ(roster[0], "bulbasaur");
  EXPECT_EQ(roster[24], "pikachu");
  EXPECT_EQ(roster[30], "nidoran");  // after nidoqueen, not before nidorina
  EXPECT_EQ(roster[81], "farfetch'd");
  EXPECT_EQ(roster[120], "mr.mime");
  EXPECT_EQ(roster[149], "mew");
  std::set<std::string_view> unique(roster.begin(), roster.end());
  EXPECT_EQ(unique.size(), kRosterSize);
}

// Every pickable creature has exactly one move set, and the table names no
// creature that cannot be picked.
TEST(MoveTableTest, CoversTheRosterOnce) {
  std::multiset<std::string_view> in_table;
  for (const MoveRow& row : MoveTable()) {
    for (std::string_view creature : row.creatures) {
      if (!creature.empty()) in_table.insert(creature);
    }
  }
  EXPECT_EQ(MoveTable().size(), 81u);
  EXPECT_EQ(in_table.size(), kRosterSize);
  for (std::string_view name : Roster()) EXPECT_EQ(in_table.count(name), 1u) << name;
}

// How many creatures know each move: a typo in any row changes a count.
TEST(MoveTableTest, MoveCountsMatchTheTable) {
  const std::map<std::string_view, int> expected = {
      {"acid", 5},         {"agility", 17},      {"amnesia", 5},     {"aurorabeam", 4},
      {"barrage", 2},      {"bite", 10},         {"blizzard", 2},    {"bodyslam", 6},
      {"boneclub", 2},     {"bonemerang", 2},    {"bubble", 10},     {"bubblebeam", 2},
      {"cometpunch", 2},   {"concentrate", 3},   {"confusion", 13},  {"constrict", 1},
      {"crabhammer", 2},   {"dig", 2},           {"dizzypunch", 1},  {"doubleedge", 3},
      {"doublekick", 6},   {"doubleslap", 6},    {"doubleteam", 1},  {"dragonrage", 5},
      {"dreameater", 3},   {"drillpeck", 5},     {"earthquake", 5},  {"ember", 11},
      {"eplosion", 2},     {"fireblast", 9},     {"firepunch", 2},   {"firespin", 9},
      {"flamethrower", 9}, {"furyattack", 2},    {"furyswipes", 9},  {"guillotine", 3},
      {"gust", 3},         {"haze", 3},          {"headbutt", 3},    {"hijumpkick", 1},
      {"hornattack", 8},   {"horndrill", 6},     {"hydropump", 22},  {"hyperbeam", 7},
      {"hypnosis", 7},     {"icebeam", 6},       {"icepunch", 2},    {"jumpkick", 1},
      {"karatechop", 5},   {"lick", 4},          {"lowkick", 3},     {"meditate", 1},
      {"megapunch", 1},    {"metronome", 2},     {"mist", 5},        {"nightshade", 3},
      {"payday", 2},       {"peck", 9},          {"petaldance", 3},  {"pinmissile", 4},
      {"poisongas", 2},    {"poisonpowder", 12}, {"poisonsting", 5}, {"pound", 10},
      {"psybeam", 11},     {"psychic", 11},      {"psywave", 3},     {"quickattack", 7},
      {"rage", 7},         {"razorleaf", 6},     {"rockslide", 3},   {"rockthrow", 4},
      {"rollingkick", 1},  {"scratch", 16},      {"seismictoss", 6}, {"selfdestruct", 2},
      {"skyattack", 1},    {"slam", 6},          {"slash", 9},       {"sludge", 4},
      {"smog", 3},         {"smokescreen", 2},   {"solarbeam", 8},   {"sonicboom", 2},
      {"spikecannon", 4},  {"spore", 2},         {"stomp", 9},       {"stunspore", 3},
      {"submission", 3},   {"substitute", 1},    {"superfang", 2},   {"supersonic", 6},
      {"swift", 8},        {"swordsdance", 3},   {"tackle", 44},     {"tailwhip", 6},
      {"takedown", 3},     {"thrash", 2},        {"thunder", 5},     {"thunderpunch", 2},
      {"thundershock", 7}, {"thunderwave", 8},   {"triattack", 3},   {"twineedle", 3},
      {"vicegrip", 1},     {"vinewhip", 6},      {"waterfall", 2},   {"watergun", 20},
      {"wingattack", 6},   {"wrap", 8},
  };
  std::map<std::string_view, int> counted;
  for (std::string_view name : Roster()) {
    Moves moves;
    AddMoveSet(name, moves);
    for (const std::string& move : moves) {
      const auto known = expected.find(move);
      ASSERT_NE(known, expected.end()) << "unknown move " << move << " of " << name;
      ++counted[known->first];
    }
  }
  EXPECT_EQ(expected.size(), 110u);
  EXPECT_EQ(counted, expected);
}

TEST(AddMoveSetTest, AppendsTheCreaturesFourMovesInOrder) {
  const std::vector<std::pair<std::string_view, Moves>> cases = {
      {"pikachu", {"thundershock", "thunderwave", "swift", "thunder"}},
      {"nidoran", {"tackle", "bodyslam", "furyswipes", "doublekick"}},
      {"nidoqueen", {"tackle", "bodyslam", "furyswipes", "doublekick"}},
      {"nidorino", {"tackle", "hornattack", "horndrill", "doublekick"}},
      {"ninetails", {"ember", "flamethrower", "firespin", "fireblast"}},
      {"victreebel", {"vinewhip", "poisonpowder", "razorleaf", "slam"}},
      {"mewtwo", {"psybeam", "psychic", "mist", "amnesia"}},
      {"eevee", {"tackle", "scratch", "slash", "bite"}},
      {"farfetch'd", {"peck", "swordsdance", "agility", "slash"}},
      {"mr.mime", {"confusion", "doubleslap", "meditate", "substitute"}},
      {"electrode", {"tackle", "sonicboom", "selfdestruct", "eplosion"}},
  };
  for (const auto& [name, moves] : cases) {
    Moves list;
    AddMoveSet(name, list);
    EXPECT_EQ(list, moves) << name;
  }
}

// The lookup is exact and never clears: unknown names change nothing, a
// second pick lands behind the first.
TEST(AddMoveSetTest, ExactNamesOnlyAndNeverClears) {
  for (std::string_view name : {"Pikachu", "pikachu ", "", "mr. mime", "farfetchd"}) {
    Moves list = {"kept"};
    AddMoveSet(name, list);
    EXPECT_EQ(list, Moves{"kept"}) << '"' << name << '"';
  }
  Moves list;
  AddMoveSet("pikachu", list);
  AddMoveSet("onix", list);
  EXPECT_EQ(list, (Moves{"thundershock", "thunderwave", "swift", "thunder", "tackle", "rockthrow",
                         "rage", "slam"}));
}

}  // namespace
}  // namespace zorvik
