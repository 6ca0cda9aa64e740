// The battle: "start", then the two turn handlers, one per player, each
// attached to its own turn listener. Whose turn it is, is nothing but which
// turn listener is on.
#include <string>

#include "match/battle_book.h"
#include "match/chat_text.h"
#include "match/host_console.h"
#include "match/seat_side.h"

namespace zorvik {

namespace {

std::string Status(const std::string& creature, const std::string& hp) {
  return "-=|[" + LowerCase(creature) + ": " + hp + "/500]|=-";
}

std::string Prompt(const std::string& name) {
  return "-=|[" + LowerCase(name) + " choose your attack]|=-";
}

const std::string& Entry(const std::vector<std::string>& moves, std::size_t i) {
  static const std::string kNone;
  return i < moves.size() ? moves[i] : kNone;
}

}  // namespace

void HostConsole::startgame_Click() {
  const Epoch epoch = epoch_;
  client_.InstantMessagesOff();
  if (!Current(epoch)) return;
  if (!Send("-=|[game commands]|=-", epoch)) return;
  if (!Send("-=|[for attacking: /name of attack]|=-", epoch)) return;
  if (!Send("-=|[for a list of moves: +moves]|=-", epoch)) return;
  if (!PauseFor(0.5, epoch)) return;
  if (!Send(Prompt(table_.player1Name), epoch)) return;
  Chat(4).StartListening();
  Changed();
}

void HostConsole::Chat4_ChatMsg(const std::string& Screen_Name, const std::string& What_Said) {
  Turn(1, Screen_Name, What_Said);
}

void HostConsole::Chat5_ChatMsg(const std::string& Screen_Name, const std::string& What_Said) {
  Turn(2, Screen_Name, What_Said);
}

void HostConsole::Turn(int player, const std::string& screen_name, const std::string& what_said) {
  if (!switches_.stopgame) return;
  // One attack at a time: while one is announced, both players wait.
  if (attack_epoch_ && *attack_epoch_ == epoch_) return;
  const Side side = SideOf(player);
  if (!SameLowerCase(screen_name, side.name)) return;
  const Epoch epoch = epoch_;

  const std::size_t slash = what_said.find('/');
  if (slash != std::string::npos) {
    const std::string_view typed = TrimSpaces(std::string_view(what_said).substr(slash + 1));
    for (const std::string& move : side.moves) {
      if (SameLowerCase(move, typed)) {
        // A copy: the list may grow (a new pick) while the attack is told.
        Attack(player, std::string(move), epoch);
        return;
      }
    }
    Send("not a valid move go again", epoch);
    return;
  }
  if (SameLowerCase(what_said, "+moves")) ListMoves(player, epoch);
}

void HostConsole::Attack(int player, const std::string& move, Epoch epoch) {
  // The guard holds from the cheer until the turn has passed or the battle
  // has ended; it is released only by the attack that set it.
  Epoch guard = epoch;
  attack_epoch_ = guard;
  struct Release {
    std::optional<Epoch>& attack_epoch;
    const Epoch& guard;
    ~Release() {
      if (attack_epoch == guard) attack_epoch.reset();
    }
  } release{attack_epoch_, guard};

  const Side side = SideOf(player);
  SendCheer(client_, random_, side.creature, move);
  if (!Current(epoch)) return;
  const int damage = RollDamage(random_);
  table_.lastDamage = std::to_string(damage);
  side.other_hp = std::to_string(ReadHitPoints(side.other_hp) - damage);
  Changed();
  if (!Send("-=|[" + LowerCase(side.creature) + " did " + table_.lastDamage +
                " points of damage!]|=-",
            epoch)) {
    return;
  }

  if (ReadHitPoints(side.other_hp) > 0) {
    if (!Send(Status(table_.player1Creature, table_.player1Hp), epoch)) return;
    if (!Send(Status(table_.player2Creature, table_.player2Hp), epoch)) return;
    Chat(side.turn_listener).StopListening();
    Changed();
    if (!Send(Prompt(side.other_name), epoch)) return;
    Chat(side.other_turn_listener).StartListening();
    Changed();
    return;
  }

  // The battle is over: whatever else was waiting ends quietly, and the
  // guard stays up until both turn listeners are off.
  const Epoch end = AdvanceEpoch();
  guard = end;
  attack_epoch_ = end;
  if (!Send("-=|[" + LowerCase(side.other_creature) + " Fainted!]|=-", end)) return;
  if (!Send("-=|[" + LowerCase(side.name) + " defeated " + LowerCase(side.other_name) + "]|=-",
            end)) {
    return;
  }
  Chat(4).StopListening();
  Chat(5).StopListening();
  switches_.setit = false;
  switches_.startgame = false;
  ClearSeats();
  Changed();
}

void HostConsole::ListMoves(int player, Epoch epoch) {
  const Side side = SideOf(player);
  if (!Send("-=|[moves for " + side.creature + "]|=-", epoch)) return;
  // Only the first four are listed, even when a second pick added more.
  if (!Send("-=|[" + Entry(side.moves, 0) + "]|=-=|[" + Entry(side.moves, 1) + "]|=-", epoch)) {
    return;
  }
  Send("-=|[" + Entry(side.moves, 2) + "]|=-=|[" + Entry(side.moves, 3) + "]|=-", epoch);
}

}  // namespace zorvik
