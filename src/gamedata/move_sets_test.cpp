#include "gamedata/move_sets.h"

#include <cstdint>
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

// Every move of every creature, in roster order, folded into one FNV-1a
// hash: a typo, a swapped move or a moved row anywhere changes it. The
// table's 110 distinct moves are counted too, so that a hash mismatch
// caused by a new move name is told apart from a reordering.
TEST(MoveTableTest, EveryMoveSetIsAsPublished) {
  std::uint64_t hash = 14695981039346656037u;
  std::set<std::string> distinct;
  for (std::string_view name : Roster()) {
    Moves moves;
    AddMoveSet(name, moves);
    ASSERT_EQ(moves.size(), 4u) << name;
    for (const std::string& move : moves) {
      distinct.insert(move);
      for (const char c : move + ",")
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
  }
  EXPECT_EQ(distinct.size(), 110u);
  EXPECT_EQ(hash, 18135435078860065751u);
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
