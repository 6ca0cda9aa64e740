// Creature selection: "setup", then player 1 and player 2 pick a creature by
// typing a slash and its name.
#include <algorithm>

#include "gamedata/move_sets.h"
#include "match/chat_text.h"
#include "match/host_console.h"
#include "match/seat_side.h"

namespace zorvik {

void HostConsole::setit_Click() {
  const Epoch epoch = epoch_;
  if (!Send("-=|[enter zorvik name: /zorvikname]|=-", epoch)) return;
  if (!Send("-=|[" + LowerCase(table_.player1Name) + " enter your zorvik first]|=-", epoch)) return;
  Chat(2).StartListening();
  Changed();
}

void HostConsole::Chat2_ChatMsg(const std::string& Screen_Name, const std::string& What_Said) {
  Pick(1, Screen_Name, What_Said);
}

void HostConsole::Chat3_ChatMsg(const std::string& Screen_Name, const std::string& What_Said) {
  Pick(2, Screen_Name, What_Said);
}

void HostConsole::Pick(int player, const std::string& screen_name, const std::string& what_said) {
  const Epoch epoch = epoch_;
  const Side side = SideOf(player);
  if (!SameLowerCase(screen_name, side.name)) return;
  const std::size_t slash = what_said.find('/');
  if (slash == std::string::npos) return;

  // Everything after the first slash, lower-cased and not trimmed: the
  // roster spells every name in lower case without blanks.
  const std::string choice = LowerCase(std::string_view(what_said).substr(slash + 1));
  if (std::find(table_.roster.begin(), table_.roster.end(), choice) == table_.roster.end()) {
    Send("-=|[that zorvik is not on my zorvikroll, yet, select again]|=-", epoch);
    return;
  }

  side.creature = choice;
  side.hp = "500";
  Changed();
  // The pick listener stays on while this is said: a further choice of the
  // same player heard meanwhile is a pick of its own.
  if (!Send("-=|[" + LowerCase(side.name) + " selected " + choice + "]|=-", epoch)) return;
  side.creature_copy = choice;
  Chat(side.pick_listener).StopListening();
  Changed();
  AddMoveSet(side.creature, side.moves);

  if (player == 1) {
    if (!Send("-=|[" + LowerCase(table_.player2Name) + " type in a valid zorvik name]|=-", epoch)) {
      return;
    }
    Chat(3).StartListening();
    Changed();
    return;
  }

  if (!Send("-=|[each trainer has selected their zorvik]|=-", epoch)) return;
  if (!Send("-=|[trainers, get ready!]|=-", epoch)) return;
  // "start" is usable from here on, while the battle is still announced.
  switches_.startgame = true;
  switches_.stopgame = true;
  Changed();
  if (!PauseFor(0.5, epoch)) return;
  if (!Send("-=|[the zorvik battle is about to start!]|=-", epoch)) return;
  const std::string name1 = LowerCase(table_.player1Name);
  const std::string name2 = LowerCase(table_.player2Name);
  if (!Send("-=|[the challenge will be between " + name1 + " and " + name2 + "]|=-", epoch)) {
    return;
  }
  if (!Send("-=|[" + name1 + " will use " + table_.player1Creature + " 500/500]|=-", epoch)) return;
  Send("-=|[" + LowerCase(table_.player2Name) + " will use " + table_.player2Creature +
           " 500/500]|=-",
       epoch);
}

}  // namespace zorvik
