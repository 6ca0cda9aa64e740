// The move table: which four moves each creature fights with, and
// AddMoveSet, the battle book's operation that hands them to a player.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// One row of the move table: the creatures that share a move set (one to
// three of them; unused slots are empty) and their four moves in order.
struct MoveRow {
  std::array<std::string_view, 3> creatures;
  std::array<std::string_view, 4> moves;
};

// The 81 rows, in table order.
std::span<const MoveRow> MoveTable();

// Appends the four moves of the creature called `name` to `move_list`, move
// 1 first, without emptying the list first. The name is compared exactly
// (case and blanks count) with the table's creatures in table order; a name
// that matches none leaves the list unchanged.
void AddMoveSet(std::string_view name, std::vector<std::string>& move_list);

}  // namespace zorvik
