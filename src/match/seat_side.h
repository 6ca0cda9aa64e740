// Private to the host console: one player's view of the match record, so
// that the mirror-image handlers of the two players are written once.
#pragma once

#include <string>
#include <vector>

#include "match/host_console.h"

namespace zorvik {

struct HostConsole::Side {
  std::string& name;
  std::string& creature;
  std::string& creature_copy;
  std::string& hp;
  std::vector<std::string>& moves;
  // The other player: the defender in a battle turn.
  std::string& other_name;
  std::string& other_creature;
  std::string& other_hp;
  int pick_listener;        // Chat2 or Chat3
  int turn_listener;        // Chat4 or Chat5
  int other_turn_listener;  // Chat5 or Chat4
};

inline HostConsole::Side HostConsole::SideOf(int player) {
  MatchTable& t = table_;
  if (player == 1) {
    return Side{t.player1Name,
                t.player1Creature,
                t.player1CreatureCopy,
                t.player1Hp,
                t.player1Moves,
                t.player2Name,
                t.player2Creature,
                t.player2Hp,
                2,
                4,
                5};
  }
  return Side{t.player2Name,
              t.player2Creature,
              t.player2CreatureCopy,
              t.player2Hp,
              t.player2Moves,
              t.player1Name,
              t.player1Creature,
              t.player1Hp,
              3,
              5,
              4};
}

}  // namespace zorvik
