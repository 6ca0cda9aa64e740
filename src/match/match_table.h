// The match record: the only game state there is, one per program, owned by
// the host console for the life of the program. Every handler reads and
// writes it under these names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

inline constexpr std::string_view kSeat1Free = "player1:[none]";
inline constexpr std::string_view kSeat2Free = "player2:[none]";

struct MatchTable {
  // Frame captions: "player1:[none]" while the seat is free, otherwise the
  // lower-cased screen name in brackets. Seat 1 is free exactly when its
  // caption equals kSeat1Free; seat 2 is never tested.
  std::string seat1Caption{kSeat1Free};
  std::string seat2Caption{kSeat2Free};
  // Screen names exactly as the listener reported them at joining.
  std::string player1Name;
  std::string player2Name;
  // Creatures as the console shows them (lower-cased roster names), and the
  // hidden copies that "stop" leaves alone.
  std::string player1Creature;
  std::string player2Creature;
  std::string player1CreatureCopy;
  std::string player2CreatureCopy;
  // Hit points as decimal text; may go below zero.
  std::string player1Hp;
  std::string player2Hp;
  // Move names in the order they were appended; only the first four are
  // ever listed, all are accepted.
  std::vector<std::string> player1Moves;
  std::vector<std::string> player2Moves;
  // Damage of the last attack as decimal text.
  std::string lastDamage;
  // The roster, filled at start-up and never changed afterwards.
  std::vector<std::string> roster;
};

// Enabled states of the console's match buttons and of the frame that holds
// three of them. "exit" and "info" are always enabled.
struct ConsoleSwitches {
  bool getplayers = true;
  bool setit = false;
  bool startgame = false;
  bool stopgame = false;
  bool gamecontrol = false;  // a disabled frame blocks setit, startgame, stopgame
};

}  // namespace zorvik
